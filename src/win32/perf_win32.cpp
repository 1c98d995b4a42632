#include "win32/perf_win32.h"

namespace velkaro::win32 {}  // namespace velkaro::win32
