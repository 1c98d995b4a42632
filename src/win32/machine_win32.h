// Machine with Windows calls.
#pragma once

#include <windows.h>

#include "platform/machine.h"

namespace velkaro::win32 {

class Win32Machine : public Machine {
 public:
  MemoryStatus memoryStatus() override;
  numfmt::NumberSettings numberSettings() override;
  PowerStatus powerStatus() override;
  ProcessorFacts processorFacts() override;
};

}  // namespace velkaro::win32
