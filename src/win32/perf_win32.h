// PerfCounters with Windows calls.
#pragma once

#include <windows.h>

#include "platform/perf.h"

namespace velkaro::win32 {

class Win32PerfCounters : public PerfCounters {};

}  // namespace velkaro::win32
