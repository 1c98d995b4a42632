// The window-event loop as the core needs it inside long-running handlers.
#pragma once

namespace velkaro {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes all pending window events. False once the program is ending.
  virtual bool doEvents() = 0;
  // Waits up to maxSeconds for the next window event, then processes all pending ones.
  // False once the program is ending.
  virtual bool waitEvents(double maxSeconds) = 0;
  // Whether the program is ending.
  virtual bool ending() const = 0;
};

}  // namespace velkaro
