// Module Reboot: the power actions behind the Windows panel's buttons.
#pragma once

#include <cstdint>
#include <string>

#include "platform/power.h"

namespace velkaro::Reboot {

// ExitWindowsEx flags and the reason passed with them.
inline constexpr uint32_t kEwxLogoff = 0;
inline constexpr uint32_t kEwxReboot = 2;
inline constexpr uint32_t kEwxPowerOff = 8;
inline constexpr uint32_t kExitReason = 0xFFFFFFFF;

// "0" shut down, "1" restart, "2" log off, "3" hibernate; any other text does nothing. No
// confirmation, no result.
void PowerAction(Power& power, const std::string& code);

}  // namespace velkaro::Reboot
