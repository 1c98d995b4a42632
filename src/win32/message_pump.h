// The thread's message loop and the event processing of long-running handlers.
#pragma once

#include <windows.h>

#include "platform/event_pump.h"

namespace velkaro::win32 {

// The thread's message loop. Dialog keys (Tab between fields) go to the window set as the
// dialog window.
class MessagePump : public EventPump {
 public:
  bool doEvents() override;
  bool waitEvents(double maxSeconds) override;
  enum class Wake { Signalled, Events, TimedOut, Ending };
  // Waits at most maxSeconds until the handle is signalled or window events are pending; the
  // events are left to the caller (doEvents). Ending at once when the program is ending.
  Wake waitOnce(HANDLE handle, double maxSeconds);
  bool ending() const override { return ending_; }
  // Ends the loops: handlers that pump events see the end and wind down, then run() returns.
  void quit(int exitCode);
  // Runs until the program ends; returns the exit code.
  int run();
  void setDialogWindow(HWND hwnd) { dialog_ = hwnd; }
  // While the system's own loop moves a window, that loop takes the events: a handler it
  // dispatches (a timer tick) leaves them to it, so the move sees its mouse and button-up.
  void setSystemLoop(bool running) { systemLoop_ = running; }

 private:
  void Dispatch(MSG& msg);
  HWND dialog_ = nullptr;
  bool ending_ = false;
  bool systemLoop_ = false;
};

}  // namespace velkaro::win32
