// The registry as the core sees it: raw values under a root key, read and written by key path.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkaro {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Which registry view a 64-bit process reads: its own, or the one of 32-bit programs.
enum class RegView { Native, Wow32 };

namespace regtype {
constexpr uint32_t kSz = 1;
constexpr uint32_t kExpandSz = 2;
constexpr uint32_t kBinary = 3;
constexpr uint32_t kDword = 4;
constexpr uint32_t kMultiSz = 7;
}  // namespace regtype

// A value as stored: its type and its data bytes (strings as UTF-16 little-endian).
struct RegData {
  uint32_t type = 0;
  std::string bytes;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // One value of the key subKey (names are UTF-8); nullopt when the key or the value is missing
  // or cannot be read. An empty name reads the key's default value.
  virtual std::optional<RegData> queryValue(RootKey root, const std::string& subKey,
                                            const std::string& name, RegView view) = 0;
  // The name of the subkey at an enumeration index of root\subKey; nullopt when the key cannot
  // be opened or has no subkey at that index.
  virtual std::optional<std::string> subKeyName(RootKey root, const std::string& subKey,
                                                uint32_t index, RegView view) = 0;
  // Sets one value, creating the keys of subKey that do not exist yet; false on any failure.
  virtual bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                        const RegData& data) = 0;
};

}  // namespace velkaro
