#include "win32/service_thread.h"

#include <objbase.h>
#include <process.h>

namespace velkaro::win32 {

ServiceThread::ServiceThread() {
  InitializeCriticalSection(&lock_);
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

ServiceThread::~ServiceThread() {
  if (wake_) CloseHandle(wake_);
  if (handle_) CloseHandle(handle_);
  DeleteCriticalSection(&lock_);
}

std::shared_ptr<ServiceThread> ServiceThread::Start() {
  std::shared_ptr<ServiceThread> thread(new ServiceThread());
  if (!thread->wake_) return nullptr;
  // The thread keeps its own reference: a thread that is given up while a job blocks still
  // finds its queue when the job returns.
  auto* own = new std::shared_ptr<ServiceThread>(thread);
  unsigned id = 0;
  const uintptr_t handle = _beginthreadex(nullptr, 0, Main, own, 0, &id);
  if (!handle) {
    delete own;
    return nullptr;
  }
  thread->threadId_ = id;
  thread->handle_ = reinterpret_cast<HANDLE>(handle);
  return thread;
}

unsigned __stdcall ServiceThread::Main(void* state) {
  auto* own = static_cast<std::shared_ptr<ServiceThread>*>(state);
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  (*own)->Loop();
  if (com) CoUninitialize();
  delete own;
  return 0;
}

void ServiceThread::Loop() {
  for (;;) {
    Job job;
    EnterCriticalSection(&lock_);
    const bool stop = stopping_ && jobs_.empty();
    if (!jobs_.empty()) {
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    LeaveCriticalSection(&lock_);
    if (stop) return;
    if (job) {
      // Jobs catch what they throw (see ServiceCalls::call); this keeps the thread's end in
      // any case.
      try {
        job();
      } catch (...) {
      }
    } else
      WaitForSingleObject(wake_, INFINITE);
  }
}

bool ServiceThread::post(Job job) {
  EnterCriticalSection(&lock_);
  const bool open = !stopping_;
  if (open) jobs_.push_back(std::move(job));
  LeaveCriticalSection(&lock_);
  if (open) SetEvent(wake_);
  return open;
}

void ServiceThread::stop() {
  EnterCriticalSection(&lock_);
  stopping_ = true;
  LeaveCriticalSection(&lock_);
  SetEvent(wake_);
}

}  // namespace velkaro::win32
