#include "win32/registry_win32.h"

#include <algorithm>
#include <string>

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

}  // namespace velkaro::win32
