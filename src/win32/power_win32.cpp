#include "win32/power_win32.h"

namespace velkaro::win32 {}  // namespace velkaro::win32
