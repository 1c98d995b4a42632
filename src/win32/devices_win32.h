// Devices, screen metrics and the probe document with Windows calls.
#pragma once

#include <windows.h>

#include "platform/devices.h"

namespace velkaro::win32 {

class Win32Devices : public Devices {
 public:
  ScreenMetrics screen() override;
  bool openPort(const std::string& device, PortAccess access) override;
  bool createEmptyFile(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
};

}  // namespace velkaro::win32
