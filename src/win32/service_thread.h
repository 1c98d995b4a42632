// A thread of its own for calls that can block for long (the management service). The window's
// thread hands it jobs and waits for them while it goes on processing window events; a job that
// never returns is left to its thread, which is then given up, never joined.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>

namespace velkaro::win32 {

class ServiceThread {
 public:
  using Job = std::function<void()>;

  // Starts a thread with COM set up for the multithreaded apartment; nullptr when it cannot.
  static std::shared_ptr<ServiceThread> Start();

  ServiceThread(const ServiceThread&) = delete;
  ServiceThread& operator=(const ServiceThread&) = delete;
  ~ServiceThread();

  // Queues a job; the thread runs its jobs one after the other. False once stopped.
  bool post(Job job);
  // The thread ends after the jobs queued so far; nobody waits for it.
  void stop();
  bool onThisThread() const { return GetCurrentThreadId() == threadId_; }
  // Whether the thread has ended (after stop(), once its jobs have returned).
  bool ended() const { return !handle_ || WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

 private:
  ServiceThread();
  static unsigned __stdcall Main(void* state);
  void Loop();

  CRITICAL_SECTION lock_;
  HANDLE wake_ = nullptr;  // auto-reset: a job was queued or the thread should stop
  std::deque<Job> jobs_;
  bool stopping_ = false;
  DWORD threadId_ = 0;
  HANDLE handle_ = nullptr;
};

// The end of one job, shared by the job and whoever waits for it: the first to claim it decides
// whether the waiter takes the result (finished) or the job disposes of it (cancelled).
class Completion {
 public:
  Completion() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Completion(const Completion&) = delete;
  Completion& operator=(const Completion&) = delete;
  virtual ~Completion() {
    if (done_) CloseHandle(done_);
  }
  // Signalled once the job has finished or the wait was cancelled.
  HANDLE handle() const { return done_; }
  // From the job when its work has ended: false when the wait was cancelled before.
  bool finish() { return Claim(kFinished); }
  // From the waiting side: false when the job had finished before.
  bool cancel() { return Claim(kCancelled); }
  bool finished() const { return claim_ == kFinished; }
  bool cancelled() const { return claim_ == kCancelled; }

 private:
  static constexpr LONG kOpen = 0, kFinished = 1, kCancelled = 2;
  bool Claim(LONG how) {
    const bool claimed = InterlockedCompareExchange(&claim_, how, kOpen) == kOpen;
    if (claimed) SetEvent(done_);
    return claimed;
  }
  HANDLE done_;
  volatile LONG claim_ = kOpen;
};

}  // namespace velkaro::win32
