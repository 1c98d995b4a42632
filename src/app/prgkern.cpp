#include "app/prgkern.h"

namespace velkaro::PrgKern {

void Pause(Clock& clock, EventPump& pump, double seconds) {
  // A monotonic clock: a wait across midnight ends after the requested time like any other.
  const double start = clock.monotonicSeconds();
  for (;;) {
    const double elapsed = clock.monotonicSeconds() - start;
    if (!(elapsed < seconds)) return;
    if (!pump.waitEvents(seconds - elapsed)) return;
  }
}

}  // namespace velkaro::PrgKern
