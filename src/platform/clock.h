// Time sources.
#pragma once

#include <cstdint>

namespace velkaro {

// A local date and time as the platform's calendar gives it (24-hour clock).
struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds from an arbitrary start; never goes back and never wraps (not the time of day).
  virtual double monotonicSeconds() = 0;
  // Milliseconds since Windows started, unsigned 64-bit (where only a 32-bit count exists, that
  // count read as unsigned).
  virtual uint64_t uptimeMilliseconds() = 0;
  // The current local date and time.
  virtual LocalTime localTime() = 0;
};

}  // namespace velkaro
