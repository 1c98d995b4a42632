// Every platform service implemented with Windows calls, bundled into one Platform.
#pragma once

#include "platform/platform.h"
#include "win32/devices_win32.h"
#include "win32/files_win32.h"
#include "win32/machine_win32.h"
#include "win32/message_pump.h"
#include "win32/perf_win32.h"
#include "win32/power_win32.h"
#include "win32/registry_win32.h"
#include "win32/system_win32.h"
#include "win32/wmi_win32.h"

namespace velkaro::win32 {

struct Win32Platform {
  Win32Registry registry;
  Win32System system;
  Win32Shell shell;
  Win32Clock clock;
  MessagePump pump;
  Win32TextFiles files;
  ComManagement management{pump, clock};
  Win32Machine machine;
  Win32Devices devices;
  Win32PerfCounters perf;
  Win32Power power;
  Win32Arena arena;
  Platform platform{registry,   system,  shell,   clock, pump,  files,
                    management, machine, devices, perf,  power, arena};
};

}  // namespace velkaro::win32
