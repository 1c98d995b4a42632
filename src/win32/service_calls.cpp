#include "win32/service_calls.h"

#include <algorithm>

namespace velkaro::win32 {

ServiceCalls::ServiceCalls(MessagePump& pump, Deadlines& deadlines, ServiceTiming timing)
    : pump_(pump), deadlines_(deadlines), timing_(timing) {}

ServiceCalls::~ServiceCalls() {
  if (thread_) thread_->stop();
}

bool ServiceCalls::stalled() {
  return pump_.ending() || deadlines_.clock().monotonicSeconds() < stalledUntil_;
}

std::shared_ptr<ServiceThread> ServiceCalls::thread() {
  if (thread_ || stalled()) return thread_;
  // A thread given up with a call that still hangs is not joined by another: the service that
  // hangs it would take one thread after the other.
  if (abandoned_ && !abandoned_->ended()) return nullptr;
  abandoned_.reset();
  thread_ = ServiceThread::Start();
  return thread_;
}

double ServiceCalls::serviceWaitSeconds() {
  const double left = deadlines_.any() ? deadlines_.secondsLeft() : timing_.callSeconds;
  return std::max(0.0, left - timing_.marginSeconds);
}

void ServiceCalls::unanswered() {
  // Ending is no fault of the service's.
  if (!pump_.ending()) deadlines_.markUnanswered();
}

bool ServiceCalls::Await(Completion& pending) {
  Clock& clock = deadlines_.clock();
  for (;;) {
    switch (pump_.waitOnce(pending.handle(), deadlines_.secondsLeft() + timing_.graceSeconds)) {
      case MessagePump::Wake::Signalled:
        return true;
      case MessagePump::Wake::Events: {
        // What the events run meanwhile (a fill, a report, a message box) is not the service's
        // time.
        const double start = clock.monotonicSeconds();
        pump_.doEvents();
        deadlines_.extend(clock.monotonicSeconds() - start);
        break;
      }
      case MessagePump::Wake::TimedOut:
      case MessagePump::Wake::Ending:
        return false;
    }
  }
}

void ServiceCalls::GiveUp() {
  stalledUntil_ = deadlines_.clock().monotonicSeconds() + timing_.retrySeconds;
  thread_->stop();
  abandoned_ = std::move(thread_);
  // The calls waited for further out end too: their thread is gone.
  for (const auto& call : waiting_) call->cancel();
}

}  // namespace velkaro::win32
