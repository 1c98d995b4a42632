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
  PowerStatus powerStatus() override {
    ++powerCalls;
    return power;
  }
  ProcessorFacts processorFacts() override {
    ++processorCalls;
    return processor;
  }

  MemoryStatus memory;
  int memoryCalls = 0;
  numfmt::NumberSettings settings = numfmt::NumberSettings::German();
  PowerStatus power;
  int powerCalls = 0;
  ProcessorFacts processor;
  int processorCalls = 0;
};

}  // namespace velkaro::fakes
