// The management service through COM (WbemLocator, ConnectServer, ExecQuery). Every call that
// can block runs on a service thread of its own; the window's thread waits for it processing
// window events, at most until the deadline of the work it belongs to.
#pragma once

#include <windows.h>
#include <wbemidl.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/management.h"
#include "win32/message_pump.h"
#include "win32/service_thread.h"

namespace velkaro::win32 {

struct ServiceTiming {
  double callSeconds = 8;    // the deadline of a call made outside any work
  double retrySeconds = 60;  // how long a service that stalled is left alone
};

class ComManagement : public Management {
 public:
  // Makes the locator, on the service thread; the default asks COM for the WbemLocator.
  using LocatorFactory = std::function<HRESULT(IWbemLocator**)>;

  ComManagement(MessagePump& pump, Clock& clock, LocatorFactory locator = {},
                ServiceTiming timing = {});
  ComManagement(const ComManagement&) = delete;
  ComManagement& operator=(const ComManagement&) = delete;
  ~ComManagement() override;

  std::unique_ptr<WmiService> connect(const std::string& moniker) override;
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override;
  void beginWork(double seconds) override;
  void endWork() override;

  // Whether the service is being left alone after a stall (or the program is ending).
  bool stalled();
  // The time left until the deadline of the work under way.
  double secondsLeft();

  // Runs `work` on `thread` and waits for its result until the current deadline, processing
  // window events. nullopt when the call cannot be made (the program is ending, the service
  // stalled, the thread was given up, the deadline has passed) or does not end in time: then
  // the thread is given up, with the result that may still come, and the service stalls.
  template <typename T, typename Work>
  std::optional<T> Call(const std::shared_ptr<ServiceThread>& thread, Work work);
  // The live service thread, started when there is none and the service is not stalled.
  std::shared_ptr<ServiceThread> Thread();

 private:
  void GiveUp();

  MessagePump& pump_;
  Clock& clock_;
  LocatorFactory locator_;
  ServiceTiming timing_;
  std::shared_ptr<ServiceThread> thread_;
  double stalledUntil_ = 0;
  std::vector<double> deadlines_;                     // of the work under way, innermost last
  std::vector<std::shared_ptr<Completion>> waiting_;  // calls waited for, innermost last
};

// A job's result kept beside its completion.
template <typename T>
struct Pending : Completion {
  T result{};
};

// What a late result that nobody takes any more gives back.
inline void Dispose(IUnknown* object) {
  if (object) object->Release();
}
template <typename T>
void Dispose(const std::optional<T>&) {}

template <typename T, typename Work>
std::optional<T> ComManagement::Call(const std::shared_ptr<ServiceThread>& thread, Work work) {
  if (!thread || thread != thread_ || stalled()) return std::nullopt;
  const double left = secondsLeft();
  if (left <= 0) return std::nullopt;
  auto pending = std::make_shared<Pending<T>>();
  if (!thread->post([pending, work] {
        if (pending->cancelled()) return;  // queued behind a call that hung: nobody waits
        pending->result = work();
        if (!pending->finish()) Dispose(pending->result);
      }))
    return std::nullopt;
  waiting_.push_back(pending);
  pump_.waitFor(pending->handle(), left);
  waiting_.pop_back();
  if (pending->finished()) return std::move(pending->result);
  // Still running: time is up, or the program ends. A call that cancels it first gives the
  // thread up, unless the program is ending anyway or a nested call has already done so.
  if (pending->cancel() && !pump_.ending() && thread == thread_) GiveUp();
  if (pending->finished()) return std::move(pending->result);
  return std::nullopt;
}

}  // namespace velkaro::win32
