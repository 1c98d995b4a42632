// Processor-load sources of the CPU usage sampler.
#pragma once

namespace velkaro {

class PerfCounters {
 public:
  virtual ~PerfCounters() = default;
};

}  // namespace velkaro
