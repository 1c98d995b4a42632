// A scripted Machine for the unit tests.
#pragma once

#include "platform/machine.h"

namespace velkaro::fakes {

class FakeMachine : public Machine {
 public:
  MemoryStatus memoryStatus() override {
    ++memoryCalls;
    return memory;
  }
  numfmt::NumberSettings numberSettings() override { return settings; }
  PowerStatus powerStatus() override { return power; }
  ProcessorFacts processorFacts() override {
    ++processorCalls;
    return processor;
  }

  MemoryStatus memory;
  int memoryCalls = 0;
  numfmt::NumberSettings settings = numfmt::NumberSettings::German();
  PowerStatus power;
  ProcessorFacts processor;
  int processorCalls = 0;
};

}  // namespace velkaro::fakes
