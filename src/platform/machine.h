// Hardware and user facts the collectors read: memory, power supply, processors, the user's
// number settings.
#pragma once

#include <cstdint>

#include "text/numfmt.h"

namespace velkaro {

// The platform's memory figures, each a full 64-bit count (bytes), and the load in percent.
struct MemoryStatus {
  uint32_t memoryLoad = 0;
  uint64_t totalPhys = 0;
  uint64_t availPhys = 0;
  uint64_t totalPageFile = 0;
  uint64_t availPageFile = 0;
  uint64_t totalVirtual = 0;
  uint64_t availVirtual = 0;
};

class Machine {
 public:
  virtual ~Machine() = default;
  // The memory figures of this moment.
  virtual MemoryStatus memoryStatus() = 0;
  // The user's number settings of this moment.
  virtual numfmt::NumberSettings numberSettings() = 0;
};

}  // namespace velkaro
