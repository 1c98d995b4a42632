// Time sources.
#pragma once

namespace velkaro {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds from an arbitrary start; never goes back and never wraps (not the time of day).
  virtual double monotonicSeconds() = 0;
};

}  // namespace velkaro
