// Operating-system facts the core asks for: version record, user, folders, the program's file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkaro {

// The fields of the platform's version record that the program reads.
struct VersionRecord {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;
  std::string servicePack;  // the record's 128-character service-pack field, as stored
  uint16_t suiteMask = 0;
  uint8_t productType = 0;
};

class System {
 public:
  virtual ~System() = default;
  // The version record, asked for with the given record size (156 for the extended form, 148 for
  // the plain one); nullopt when the platform refuses that size.
  virtual std::optional<VersionRecord> versionInfo(uint32_t recordSize) = 0;
  // The name of the logged-on user as the platform wrote it into a buffer of bufferChars
  // characters (it may hold a NUL and more behind it); nullopt when the call failed.
  virtual std::optional<std::string> userName(uint32_t bufferChars) = 0;
  // advpack's IsNTAdmin(0, NULL) != 0; nullopt when the function is not available.
  virtual std::optional<bool> isNTAdmin() = 0;
  // The Windows and system folders as the platform gives them; empty text on failure.
  virtual std::string windowsDirectory() = 0;
  virtual std::string systemDirectory() = 0;
  // Full path of the running program file.
  virtual std::string programPath() = 0;
};

// The running system's version record: the extended form (156 bytes), else the plain one (148
// bytes), whose missing suite and product fields read as 0; nullopt when both are refused.
inline std::optional<VersionRecord> ReadVersionRecord(System& system) {
  constexpr uint32_t kExtendedRecordSize = 156;
  constexpr uint32_t kPlainRecordSize = 148;
  if (auto version = system.versionInfo(kExtendedRecordSize)) return version;
  auto version = system.versionInfo(kPlainRecordSize);
  if (version) {
    version->suiteMask = 0;
    version->productType = 0;
  }
  return version;
}

}  // namespace velkaro
