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
  Win32Clock clock;
  MessagePump pump;
  Deadlines deadlines{clock};
  // Calls that can block on a device or on a network path, each kind on a thread of its own.
  ServiceCalls portCalls{pump, deadlines};
  ServiceCalls fileCalls{pump, deadlines};
  Win32Registry registry;
  Win32System system;
  Win32Shell shell{&fileCalls};
  Win32TextFiles files{&fileCalls};
  ComManagement management{pump, deadlines};
  Win32Machine machine;
  Win32Devices devices{&portCalls, &fileCalls};
  Win32PerfCounters perf;
  Win32Power power;
  Win32Arena arena;
  Platform platform{registry,   system,  shell,   clock, pump,  deadlines, files,
                    management, machine, devices, perf,  power, arena};
};

}  // namespace velkaro::win32
