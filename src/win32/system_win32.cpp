#include "win32/system_win32.h"

#include <shellapi.h>

#include <vector>

#include "win32/late_bound.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

// Fills a wide buffer through a call that returns the length it wrote (or the size it needs).
template <typename Call>
std::string FolderText(Call call) {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  UINT n = call(buffer.data(), static_cast<UINT>(buffer.size()));
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = call(buffer.data(), static_cast<UINT>(buffer.size()));
  }
  if (n == 0 || n >= buffer.size()) return {};
  return Narrow(std::wstring_view(buffer.data(), n));
}

}  // namespace

std::optional<VersionRecord> Win32System::versionInfo(uint32_t recordSize) {
  OSVERSIONINFOEXA info{};
  if (recordSize > sizeof(info)) return std::nullopt;
  info.dwOSVersionInfoSize = recordSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::nullopt;
#pragma GCC diagnostic pop
  VersionRecord v;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.build = info.dwBuildNumber;
  v.platformId = info.dwPlatformId;
  v.servicePack.assign(info.szCSDVersion, sizeof(info.szCSDVersion));
  v.suiteMask = info.wSuiteMask;
  v.productType = info.wProductType;
  return v;
}

std::optional<std::string> Win32System::userName(uint32_t bufferChars) {
  std::wstring buffer(bufferChars, L' ');
  DWORD size = bufferChars;
  if (!GetUserNameW(buffer.data(), &size)) return std::nullopt;
  return Narrow(buffer);
}

std::optional<bool> Win32System::isNTAdmin() {
  // advpack is not part of every Windows installation.
  using IsNTAdminFn = BOOL(WINAPI*)(DWORD, DWORD*);
  static const LateBound<IsNTAdminFn> isNTAdmin(L"advpack.dll", "IsNTAdmin", Dll::LoadIfNeeded);
  if (!isNTAdmin) return std::nullopt;
  return isNTAdmin(0, nullptr) != 0;
}

std::string Win32System::windowsDirectory() {
  return FolderText([](wchar_t* b, UINT n) { return GetWindowsDirectoryW(b, n); });
}

std::string Win32System::systemDirectory() {
  return FolderText([](wchar_t* b, UINT n) { return GetSystemDirectoryW(b, n); });
}

std::string Win32System::programPath() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return Narrow(std::wstring_view(buffer.data(), n));
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32Shell::start(const std::string& commandLine, WindowStyle style) {
  // A program named without its folder is searched for in the current folder and along the
  // search path, either of which can be a network path.
  return OffThread(files_, false, [wide = Wide(commandLine), style] {
    std::wstring line = wide;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = style == WindowStyle::Hidden           ? SW_HIDE
                          : style == WindowStyle::MinimizedFocus ? SW_SHOWMINIMIZED
                                                                 : SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
      return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  });
}

std::string Win32Shell::findExecutable(const std::string& document) {
  return OffThread(files_, std::string(), [name = Wide(document)] {
    wchar_t found[MAX_PATH + 1] = {};
    const auto rc = reinterpret_cast<INT_PTR>(FindExecutableW(name.c_str(), nullptr, found));
    return rc <= 32 ? std::string() : Narrow(found);
  });
}

double Win32Clock::monotonicSeconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

uint64_t Win32Clock::uptimeMilliseconds() {
  // GetTickCount64 from Windows Vista on; before that the 32-bit count, read as unsigned.
  using TickCount64Fn = ULONGLONG(WINAPI*)();
  static const LateBound<TickCount64Fn> tickCount64(L"kernel32.dll", "GetTickCount64");
  return tickCount64 ? static_cast<uint64_t>(tickCount64()) : static_cast<uint64_t>(GetTickCount());
}

LocalTime Win32Clock::localTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace velkaro::win32
