// Devices with Windows calls.
#pragma once

#include <windows.h>

#include "platform/devices.h"

namespace velkaro::win32 {

class Win32Devices : public Devices {};

}  // namespace velkaro::win32
