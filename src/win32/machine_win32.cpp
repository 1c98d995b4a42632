#include "win32/machine_win32.h"

namespace velkaro::win32 {}  // namespace velkaro::win32
