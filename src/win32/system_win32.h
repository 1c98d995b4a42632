// System facts, starting programs and the clocks with Windows calls.
#pragma once

#include <windows.h>

#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "win32/service_calls.h"

namespace velkaro::win32 {

class Win32System : public System {
 public:
  std::optional<VersionRecord> versionInfo(uint32_t recordSize) override;
  std::optional<std::string> userName(uint32_t bufferChars) override;
  std::optional<bool> isNTAdmin() override;
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  std::string programPath() override;
};

class Win32Shell : public Shell {
 public:
  // Starting a program and the look-up read folders that can lie on a network path: they run
  // through `files` when given.
  explicit Win32Shell(ServiceCalls* files = nullptr) : files_(files) {}
  bool start(const std::string& commandLine, WindowStyle style) override;
  std::string findExecutable(const std::string& document) override;

 private:
  ServiceCalls* files_;
};

class Win32Clock : public Clock {
 public:
  double monotonicSeconds() override;
  uint64_t uptimeMilliseconds() override;
  LocalTime localTime() override;
};

}  // namespace velkaro::win32
