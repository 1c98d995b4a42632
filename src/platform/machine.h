// Hardware and user facts the collectors read: memory, power supply, processors, the user's
// number settings.
#pragma once

namespace velkaro {

class Machine {
 public:
  virtual ~Machine() = default;
};

}  // namespace velkaro
