// PerfCounters with Windows calls. pdh.dll and the processor-time call of ntdll are bound at run
// time, so the program starts on a system that lacks them and the sampler takes its fallback.
#pragma once

#include <windows.h>

#include "platform/perf.h"

namespace velkaro::win32 {

class Win32PerfCounters : public PerfCounters {
 public:
  uint32_t openQuery(PdhHandle& query) override;
  uint32_t addCounter(PdhHandle query, const std::string& path, PdhHandle& counter) override;
  uint32_t addEnglishCounter(PdhHandle query, const std::string& path, PdhHandle& counter) override;
  uint32_t collect(PdhHandle query) override;
  CounterValue doubleValue(PdhHandle counter) override;
  void closeQuery(PdhHandle query) override;
  std::optional<ProcessorTimes> firstProcessorTimes() override;
  std::optional<ProcessorTimes> systemTimes() override;
  std::optional<uint32_t> readDynData(const std::string& keyPath,
                                      const std::string& valueName) override;
};

}  // namespace velkaro::win32
