// Hardware and user facts the collectors read: memory, power supply, processors, the user's
// number settings.
#pragma once

#include <cstdint>
#include <optional>

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

// The platform's power status record. The running times are seconds; all bits set means
// unknown. The defaults are the platform's "unknown" codes.
struct PowerStatus {
  uint8_t acLineStatus = 255;
  uint8_t batteryFlag = 255;
  uint8_t batteryLifePercent = 255;
  uint32_t batteryLifeTime = 0xFFFFFFFF;
  uint32_t batteryFullLifeTime = 0xFFFFFFFF;
};

// The processor facts of the platform's system information record.
struct ProcessorFacts {
  uint32_t numberOfProcessors = 0;  // of the calling process's processor group (at most 64)
  uint32_t processorType = 0;
  // The logical processors of all groups, where the platform can tell (Windows 7 and later).
  std::optional<uint32_t> activeProcessors;
};

class Machine {
 public:
  virtual ~Machine() = default;
  // The memory figures of this moment.
  virtual MemoryStatus memoryStatus() = 0;
  // The user's number settings of this moment.
  virtual numfmt::NumberSettings numberSettings() = 0;
  // The power status of this moment; the defaults when the platform cannot tell.
  virtual PowerStatus powerStatus() = 0;
  // The system information record of this moment.
  virtual ProcessorFacts processorFacts() = 0;
};

}  // namespace velkaro
