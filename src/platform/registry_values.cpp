#include "platform/registry_values.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "text/text.h"

namespace velkaro::Regestry {

namespace {

struct RootName {
  const char* name;
  RootKey root;
};

// The root names the scripting shell's registry calls accept.
constexpr RootName kRoots[] = {
    {"HKCU", RootKey::CurrentUser},  {"HKEY_CURRENT_USER", RootKey::CurrentUser},
    {"HKLM", RootKey::LocalMachine}, {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
    {"HKCR", RootKey::ClassesRoot},  {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
    {"HKEY_USERS", RootKey::Users},  {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
};

std::optional<RegData> Query(Registry& registry, RootKey root, const std::string& key,
                             const std::string& name) {
  auto value = registry.queryValue(root, key, name, RegView::Native);
  // 32-bit programs record their settings in their own view of HKLM\Software.
  if (!value && root == RootKey::LocalMachine)
    value = registry.queryValue(root, key, name, RegView::Wow32);
  return value;
}

std::string StringData(const RegData& data) {
  return text::CutAtNul(text::Utf16LeToUtf8(data.bytes));
}

uint32_t LittleEndian(const std::string& bytes, size_t count) {
  uint32_t v = 0;
  for (size_t i = 0; i < count && i < bytes.size(); ++i)
    v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return v;
}

}  // namespace

std::optional<RegPath> ParseRegPath(std::string_view path) {
  const auto first = path.find('\\');
  if (first == std::string_view::npos) return std::nullopt;
  const auto last = path.rfind('\\');
  const std::string_view rootName = path.substr(0, first);
  for (const auto& r : kRoots) {
    if (text::EqualsIgnoreCaseAscii(rootName, r.name)) {
      const std::string_view key =
          last > first ? path.substr(first + 1, last - first - 1) : std::string_view{};
      return RegPath{r.root, std::string(key), std::string(path.substr(last + 1))};
    }
  }
  return std::nullopt;
}

std::string DecodeRegValue(const std::optional<RegData>& value) {
  if (!value) return {};
  switch (value->type) {
    case regtype::kSz:
      return StringData(*value);
    case regtype::kBinary:
      // A value shorter than two bytes leaves the missing bytes zero.
      return std::to_string(static_cast<int16_t>(LittleEndian(value->bytes, 2)));
    case regtype::kMultiSz:
      return text::Utf16LeToUtf8(value->bytes);
    default:
      return {};
  }
}

std::string FirstSubKeyName(Registry& registry, RootKey root, const std::string& subKey) {
  auto name = registry.subKeyName(root, subKey, 0, RegView::Native);
  if (!name && root == RootKey::LocalMachine)
    name = registry.subKeyName(root, subKey, 0, RegView::Wow32);
  return name ? text::CutAtNul(*name) : std::string();
}

std::string ReadRegValue(Registry& registry, RootKey root, const std::string& subKey,
                         const std::string& valueName) {
  return DecodeRegValue(Query(registry, root, subKey, valueName));
}

std::string ReadRegPath(Registry& registry, std::string_view path) {
  const auto parsed = ParseRegPath(path);
  if (!parsed) return {};
  const auto value = Query(registry, parsed->root, parsed->key, parsed->value);
  if (!value) return {};
  switch (value->type) {
    case regtype::kSz:
    case regtype::kExpandSz:
      return StringData(*value);
    case regtype::kDword:
      return std::to_string(static_cast<int32_t>(LittleEndian(value->bytes, 4)));
    default:
      return {};
  }
}

bool WriteRegPath(Registry& registry, std::string_view path, std::string_view data,
                  std::string_view typeName) {
  const auto parsed = ParseRegPath(path);
  if (!parsed) return false;
  RegData value;
  if (typeName == "REG_SZ" || typeName == "REG_EXPAND_SZ") {
    value.type = typeName == "REG_SZ" ? regtype::kSz : regtype::kExpandSz;
    value.bytes = text::Utf8ToUtf16Le(text::CutAtNul(data));
    value.bytes.append(2, '\0');
  } else if (typeName == "REG_DWORD") {
    const std::string digits(data);
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(digits.c_str(), &end, 10);
    if (digits.empty() || *end != '\0' || errno != 0 || number < INT32_MIN || number > UINT32_MAX)
      return false;
    const auto bits = static_cast<uint32_t>(number);
    for (int i = 0; i < 4; ++i) value.bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    value.type = regtype::kDword;
  } else {
    return false;
  }
  return registry.setValue(parsed->root, parsed->key, parsed->value, value);
}

}  // namespace velkaro::Regestry
