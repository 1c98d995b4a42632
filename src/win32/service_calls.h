// Calls that can block for long (the management service, a device), made on a service thread of
// their own while the window's thread waits for them processing window events.
//
// A call waits at most until the deadline of its work (see platform/deadlines.h) plus a grace
// period; the time the window's events take meanwhile moves the deadline on. A call that comes
// back late or fails is a failed call. Only a call that has not come back by then has stalled:
// its thread is given up with it and the service is left alone for a while. At most one thread
// given up that way may still hang; until it has ended, the service is not asked again.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/deadlines.h"
#include "win32/message_pump.h"
#include "win32/service_thread.h"

namespace velkaro::win32 {

// A job's result kept beside its completion.
template <typename T>
struct Pending : Completion {
  T result{};
  bool threw = false;  // the job threw: there is no result
};

// What a late result that nobody takes any more gives back.
inline void Dispose(IUnknown* object) {
  if (object) object->Release();
}
inline void Dispose(bool) {}
inline void Dispose(const std::string&) {}
template <typename T>
void Dispose(const std::optional<T>&) {}

class ServiceCalls {
 public:
  ServiceCalls(MessagePump& pump, Deadlines& deadlines, ServiceTiming timing = {});
  ServiceCalls(const ServiceCalls&) = delete;
  ServiceCalls& operator=(const ServiceCalls&) = delete;
  ~ServiceCalls();

  // Runs `work` on `thread` and waits for its result (see above). nullopt when the call cannot
  // be made (the program is ending, the service is left alone, the thread was given up, the
  // deadline has passed), when the work throws, or when it does not come back in time.
  template <typename T, typename Work>
  std::optional<T> call(const std::shared_ptr<ServiceThread>& thread, Work work);

  // The live service thread, started when there is none and the service may be asked.
  std::shared_ptr<ServiceThread> thread();

  // Whether the service is being left alone after a stall (or the program is ending).
  bool stalled();
  // How long a wait that the service takes itself may last now: until the margin before the
  // deadline of the work under way (outside any work, of a call made now).
  double serviceWaitSeconds();
  // Marks the work under way: a call of it went unanswered.
  void unanswered();

  Deadlines& deadlines() { return deadlines_; }
  const ServiceTiming& timing() const { return timing_; }

 private:
  // Waits for the job processing window events; false when the time ran out (or the program
  // ends) first.
  bool Await(Completion& pending);
  void GiveUp();

  MessagePump& pump_;
  Deadlines& deadlines_;
  ServiceTiming timing_;
  std::shared_ptr<ServiceThread> thread_;
  std::shared_ptr<ServiceThread> abandoned_;  // given up with a call that still hangs
  double stalledUntil_ = 0;
  std::vector<std::shared_ptr<Completion>> waiting_;  // calls waited for, innermost last
};

template <typename T, typename Work>
std::optional<T> ServiceCalls::call(const std::shared_ptr<ServiceThread>& thread, Work work) {
  // A call outside any work has a deadline of its own.
  std::optional<velkaro::Work> own;
  if (!deadlines_.any()) own.emplace(deadlines_, timing_.callSeconds);
  if (!thread || thread != thread_ || stalled() || deadlines_.secondsLeft() <= 0) {
    unanswered();
    return std::nullopt;
  }
  auto pending = std::make_shared<Pending<T>>();
  if (!thread->post([pending, work] {
        if (pending->cancelled()) return;  // queued behind a call that hung: nobody waits
        try {
          pending->result = work();
        } catch (...) {
          // A job that fails this way fails its call; nothing thrown leaves the thread.
          pending->threw = true;
        }
        if (!pending->finish()) Dispose(pending->result);
      })) {
    unanswered();
    return std::nullopt;
  }
  waiting_.push_back(pending);
  Await(*pending);
  waiting_.pop_back();
  // Still running: time is up, or the program ends. A call that cancels it first gives the
  // thread up, unless the program is ending anyway or a nested call has already done so.
  if (!pending->finished() && pending->cancel() && !pump_.ending() && thread == thread_) GiveUp();
  if (pending->finished()) {
    if (pending->threw) return std::nullopt;
    return std::move(pending->result);
  }
  unanswered();
  return std::nullopt;
}

// Runs `call` through `calls` (on its service thread, the window waiting), or here when there
// are none; `failed` when it does not come back in time.
template <typename T, typename Call>
T OffThread(ServiceCalls* calls, T failed, Call call) {
  if (!calls) return call();
  auto result = calls->call<T>(calls->thread(), call);
  return result ? std::move(*result) : failed;
}

}  // namespace velkaro::win32
