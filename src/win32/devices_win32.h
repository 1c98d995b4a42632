// Devices, screen metrics and the probe document with Windows calls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/devices.h"
#include "win32/service_calls.h"

namespace velkaro::win32 {

class Win32Devices : public Devices {
 public:
  // Opens a port device and closes it at once: whether that worked.
  using PortOpener = std::function<bool(const std::wstring& device, PortAccess access)>;
  static bool OpenAndClose(const std::wstring& device, PortAccess access);

  // Opening a port can block for long (a Bluetooth port whose device is out of reach), the
  // probe document can lie on a network path: those calls run through `ports` and `files`.
  explicit Win32Devices(ServiceCalls* ports = nullptr, ServiceCalls* files = nullptr,
                        PortOpener opener = OpenAndClose)
      : ports_(ports), files_(files), opener_(std::move(opener)) {}
  ScreenMetrics screen() override;
  bool openPort(const std::string& device, PortAccess access) override;
  bool createEmptyFile(const std::string& path) override;
  bool deleteFile(const std::string& path) override;

 private:
  ServiceCalls* ports_;
  ServiceCalls* files_;
  PortOpener opener_;
};

}  // namespace velkaro::win32
