// Power actions and the memory release's memory with Windows calls.
#pragma once

#include <windows.h>

#include "platform/power.h"

namespace velkaro::win32 {

class Win32Power : public Power {};

class Win32Arena : public MemoryArena {};

}  // namespace velkaro::win32
