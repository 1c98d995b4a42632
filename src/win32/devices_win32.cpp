#include "win32/devices_win32.h"

#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

constexpr double kTwipsPerInch = 1440.0;

}  // namespace

ScreenMetrics Win32Devices::screen() {
  HDC dc = GetDC(nullptr);
  const int dpiX = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  const int dpiY = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  ScreenMetrics metrics;
  metrics.twipsPerPixelX = kTwipsPerInch / (dpiX > 0 ? dpiX : 96);
  metrics.twipsPerPixelY = kTwipsPerInch / (dpiY > 0 ? dpiY : 96);
  metrics.widthTwips = GetSystemMetrics(SM_CXSCREEN) * metrics.twipsPerPixelX;
  metrics.heightTwips = GetSystemMetrics(SM_CYSCREEN) * metrics.twipsPerPixelY;
  return metrics;
}

bool Win32Devices::OpenAndClose(const std::wstring& device, PortAccess access) {
  // Exclusive, synchronous, and closed at once: only whether the open succeeds counts.
  HANDLE port =
      CreateFileW(device.c_str(), access == PortAccess::Read ? GENERIC_READ : GENERIC_WRITE, 0,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (port == INVALID_HANDLE_VALUE) return false;
  CloseHandle(port);
  return true;
}

bool Win32Devices::openPort(const std::string& device, PortAccess access) {
  return OffThread(ports_, false, [opener = opener_, name = Wide(device), access] {
    return opener(name, access);
  });
}

bool Win32Devices::createEmptyFile(const std::string& path) {
  return OffThread(files_, false, [name = Wide(path)] {
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
  });
}

bool Win32Devices::deleteFile(const std::string& path) {
  return OffThread(files_, false, [name = Wide(path)] { return DeleteFileW(name.c_str()) != 0; });
}

}  // namespace velkaro::win32
