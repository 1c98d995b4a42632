#include "tools/reboot.h"

#include <charconv>
#include <optional>

namespace velkaro::Reboot {

namespace {

// The code as a number; nullopt when the text (blanks around it aside) is no number.
std::optional<double> CodeNumber(const std::string& code) {
  const auto first = code.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  const auto last = code.find_last_not_of(' ');
  const char* begin = code.data() + first;
  const char* end = code.data() + last + 1;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

void PowerAction(Power& power, const std::string& code) {
  const std::optional<double> n = CodeNumber(code);
  if (!n) return;
  // Each code is compared on its own; at most one matches. NT refuses power-off, restart and
  // hibernate to a process that has not enabled its shutdown privilege.
  if (*n == 0) {
    power.enableShutdownPrivilege();
    power.exitWindows(kEwxPowerOff, kExitReason);
  }
  if (*n == 1) {
    power.enableShutdownPrivilege();
    power.exitWindows(kEwxReboot, kExitReason);
  }
  if (*n == 2) power.exitWindows(kEwxLogoff, kExitReason);
  if (*n == 3) {
    power.enableShutdownPrivilege();
    power.setSuspendState(true, false, false);
  }
}

}  // namespace velkaro::Reboot
