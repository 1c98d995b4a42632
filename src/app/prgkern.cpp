#include "app/prgkern.h"

#include <cstdio>

namespace velkaro::PrgKern {

void Pause(Clock& clock, EventPump& pump, double seconds) {
  // A monotonic clock: a wait across midnight ends after the requested time like any other. The
  // end is taken once, so that the waits add up to it exactly.
  const double end = clock.monotonicSeconds() + seconds;
  for (double now = clock.monotonicSeconds(); now < end; now = clock.monotonicSeconds())
    if (!pump.waitEvents(end - now)) return;
}

std::string UptimeText(Clock& clock) {
  // Whole numbers from an unsigned 64-bit count, so the text stays right beyond 24.9 and
  // 49.7 days of uptime.
  const uint64_t seconds = clock.uptimeMilliseconds() / 1000;
  char minutesAndSeconds[48];
  std::snprintf(minutesAndSeconds, sizeof minutesAndSeconds, "%02u Minute(n), %02u Sekunde(n)",
                static_cast<unsigned>(seconds % 3600 / 60), static_cast<unsigned>(seconds % 60));
  return std::to_string(seconds / 86400) + " Tag(e), " + std::to_string(seconds % 86400 / 3600) +
         " Stunde(n), " + minutesAndSeconds;
}

}  // namespace velkaro::PrgKern
