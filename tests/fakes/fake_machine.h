// A scripted Machine for the unit tests.
#pragma once

#include <deque>

#include "platform/machine.h"

namespace velkaro::fakes {

class FakeMachine : public Machine {
 public:
  MemoryStatus memoryStatus() override { return memory; }
  numfmt::NumberSettings numberSettings() override { return settings; }
  PowerStatus powerStatus() override { return power; }
  // The scripted facts in turn, then `processor` for good.
  ProcessorFacts processorFacts() override {
    if (processorSequence.empty()) return processor;
    const ProcessorFacts next = processorSequence.front();
    processorSequence.pop_front();
    return next;
  }

  MemoryStatus memory;
  numfmt::NumberSettings settings = numfmt::NumberSettings::German();
  PowerStatus power;
  ProcessorFacts processor;
  std::deque<ProcessorFacts> processorSequence;
};

}  // namespace velkaro::fakes
