// Devices and screen facts of the graphics and network panels.
#pragma once

namespace velkaro {

class Devices {
 public:
  virtual ~Devices() = default;
};

}  // namespace velkaro
