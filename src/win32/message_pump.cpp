// The thread's message loop and the event processing of long-running handlers.
#include <cmath>

#include "win32/message_pump.h"

namespace velkaro::win32 {

void MessagePump::quit(int exitCode) {
  ending_ = true;
  PostQuitMessage(exitCode);
}

void MessagePump::Dispatch(MSG& msg) {
  if (dialog_ && IsWindow(dialog_) && IsDialogMessageW(dialog_, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool MessagePump::doEvents() {
  if (systemLoop_) return !ending_;
  MSG msg;
  while (!ending_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the outermost loop.
      ending_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Dispatch(msg);
  }
  return !ending_;
}

namespace {

DWORD Milliseconds(double seconds) {
  const double ms = std::ceil(std::max(0.0, seconds) * 1000.0);
  return ms >= 0x7FFFFFFF ? INFINITE : static_cast<DWORD>(ms);
}

}  // namespace

bool MessagePump::waitEvents(double maxSeconds) {
  if (ending_) return false;
  MsgWaitForMultipleObjectsEx(0, nullptr, Milliseconds(maxSeconds), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
  return doEvents();
}

MessagePump::Wake MessagePump::waitOnce(HANDLE handle, double maxSeconds) {
  if (ending_) return Wake::Ending;
  const DWORD woke = MsgWaitForMultipleObjectsEx(1, &handle, Milliseconds(maxSeconds), QS_ALLINPUT,
                                                 MWMO_INPUTAVAILABLE);
  if (woke == WAIT_OBJECT_0) return Wake::Signalled;
  if (woke == WAIT_OBJECT_0 + 1) return Wake::Events;
  return Wake::TimedOut;  // time is up (or the handle is bad)
}

int MessagePump::run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace velkaro::win32
