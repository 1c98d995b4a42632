// How long the program waits for what lies outside it (the management service, devices). The
// calls of one piece of work (a fill) share one deadline. Work nests: a click taken while a call
// waits can start a fill of its own; the innermost work counts, and the time such nested
// handlers take (a fill, a report, a message box) is not counted against the work that waits.
#pragma once

#include <vector>

#include "platform/clock.h"

namespace velkaro {

// The limits of the waits for one service.
struct ServiceTiming {
  // The deadline of a call made outside any work.
  double callSeconds = 8.0;
  // A wait that the service takes itself (for the next object of a result) ends this long
  // before the deadline, so that a slow service answers "timed out" before the window gives up.
  double marginSeconds = 0.5;
  // A call that has not come back this long after its deadline has stalled; only such a call
  // shuts the service out.
  double graceSeconds = 1.0;
  // How long a service that stalled is left alone.
  double retrySeconds = 60.0;
};

class Deadlines {
 public:
  explicit Deadlines(Clock& clock) : clock_(clock) {}
  Deadlines(const Deadlines&) = delete;
  Deadlines& operator=(const Deadlines&) = delete;

  // Starts and ends a piece of work that has `seconds` from now.
  void begin(double seconds) { work_.push_back({clock_.monotonicSeconds() + seconds, false}); }
  void end() {
    if (!work_.empty()) work_.pop_back();
  }
  bool any() const { return !work_.empty(); }
  // The time left to the innermost work (zero or less once its deadline has passed).
  double secondsLeft() const {
    return work_.empty() ? 0 : work_.back().deadline - clock_.monotonicSeconds();
  }
  // The innermost work's deadline moves `seconds` later: the time its wait gave to other
  // handlers.
  void extend(double seconds) {
    if (!work_.empty() && seconds > 0) work_.back().deadline += seconds;
  }
  // A call of the innermost work went unanswered: it ran out of time, or the service was not
  // asked because it had stalled before.
  void markUnanswered() {
    if (!work_.empty()) work_.back().unanswered = true;
  }
  bool unanswered() const { return !work_.empty() && work_.back().unanswered; }

  Clock& clock() { return clock_; }

 private:
  struct Entry {
    double deadline;
    bool unanswered;
  };
  Clock& clock_;
  std::vector<Entry> work_;
};

// One piece of work with its deadline, for a scope.
class Work {
 public:
  Work(Deadlines& deadlines, double seconds) : deadlines_(deadlines) { deadlines_.begin(seconds); }
  Work(const Work&) = delete;
  Work& operator=(const Work&) = delete;
  ~Work() { deadlines_.end(); }

 private:
  Deadlines& deadlines_;
};

}  // namespace velkaro
