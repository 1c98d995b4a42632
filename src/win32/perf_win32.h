// PerfCounters with Windows calls. pdh.dll and the processor-time calls are looked up at run
// time, so the program starts on a system that lacks them and the sampler takes its fallback.
#pragma once

#include <windows.h>

#include "platform/perf.h"

namespace velkaro::win32 {

class Win32PerfCounters : public PerfCounters {
 public:
  Win32PerfCounters() = default;
  Win32PerfCounters(const Win32PerfCounters&) = delete;
  Win32PerfCounters& operator=(const Win32PerfCounters&) = delete;
  ~Win32PerfCounters() override;

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

 private:
  // The library's function of that name; nullptr when the library or the function is missing.
  FARPROC Pdh(const char* name);
  // Adds a counter through the PDH function of that name (the local or the English path).
  uint32_t AddByName(const char* function, PdhHandle query, const std::string& path,
                     PdhHandle& counter);

  HMODULE pdh_ = nullptr;
  bool pdhTried_ = false;
};

}  // namespace velkaro::win32
