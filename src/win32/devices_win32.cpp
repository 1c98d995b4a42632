#include "win32/devices_win32.h"

namespace velkaro::win32 {}  // namespace velkaro::win32
