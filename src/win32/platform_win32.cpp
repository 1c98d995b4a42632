#include "win32/platform_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "win32/late_bound.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
      return HKEY_USERS;
    case RootKey::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

// An open registry key, closed when it goes out of scope.
class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Values beyond this size are not read: no setting of any program is that large.
constexpr DWORD kMaxValueBytes = 16u << 20;

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

std::optional<RegData> Win32Registry::queryValue(RootKey root, const std::string& subKey,
                                                 const std::string& name, RegView view) {
  Key key;
  const REGSAM access = KEY_QUERY_VALUE | (view == RegView::Wow32 ? KEY_WOW64_32KEY : 0);
  if (RegOpenKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, access, key.out()) != ERROR_SUCCESS)
    return std::nullopt;
  const std::wstring valueName = Wide(name);
  // The value may change between asking for its size and reading it: ask again a few times.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size > kMaxValueBytes)
      return std::nullopt;
    std::string bytes(size, '\0');
    DWORD read = size;
    const LONG rc = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(bytes.data()), &read);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(std::min(read, size));
    return RegData{type, std::move(bytes)};
  }
  return std::nullopt;
}

std::optional<std::string> Win32Registry::subKeyName(RootKey root, const std::string& subKey,
                                                     uint32_t index, RegView view) {
  Key key;
  const REGSAM access = KEY_ENUMERATE_SUB_KEYS | (view == RegView::Wow32 ? KEY_WOW64_32KEY : 0);
  if (RegOpenKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, access, key.out()) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t name[256];  // a key name has at most 255 characters
  DWORD length = 256;
  if (RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return Narrow(std::wstring_view(name, length));
}

bool Win32Registry::setValue(RootKey root, const std::string& subKey, const std::string& name,
                             const RegData& data) {
  Key key;
  if (RegCreateKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, key.out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(key.get(), Wide(name).c_str(), 0, data.type,
                        reinterpret_cast<const BYTE*>(data.bytes.data()),
                        static_cast<DWORD>(data.bytes.size())) == ERROR_SUCCESS;
}

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
  std::wstring line = Wide(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = style == WindowStyle::Hidden           ? SW_HIDE
                        : style == WindowStyle::MinimizedFocus ? SW_SHOWMINIMIZED
                                                               : SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

std::string Win32Shell::findExecutable(const std::string& document) {
  wchar_t found[MAX_PATH + 1] = {};
  const auto rc =
      reinterpret_cast<INT_PTR>(FindExecutableW(Wide(document).c_str(), nullptr, found));
  if (rc <= 32) return {};
  return Narrow(found);
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
