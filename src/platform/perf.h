// Processor-load sources of the CPU usage sampler: the performance-data library (PDH), the
// system's own processor times, and the load statistics of Windows 95/98/Me.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velkaro {

// An open PDH query or counter; 0 is none.
using PdhHandle = std::uintptr_t;

namespace pdh {
constexpr uint32_t kValidData = 0;             // PDH_CSTATUS_VALID_DATA
constexpr uint32_t kNewData = 1;               // PDH_CSTATUS_NEW_DATA
constexpr uint32_t kInvalidData = 0xC0000BBA;  // PDH_CSTATUS_INVALID_DATA
constexpr uint32_t kNoCounter = 0xC0000BB9;    // PDH_CSTATUS_NO_COUNTER
constexpr uint32_t kLibraryMissing = 126;      // pdh.dll cannot be loaded
constexpr uint32_t kFunctionMissing = 127;     // the library lacks the function
}  // namespace pdh

// A formatted counter value with its status word.
struct CounterValue {
  double value = 0;
  uint32_t status = pdh::kInvalidData;
};

// Processor times since start, in 100-ns units; kernel time includes idle time.
struct ProcessorTimes {
  uint64_t idle = 0;
  uint64_t kernel = 0;
  uint64_t user = 0;
};

class PerfCounters {
 public:
  virtual ~PerfCounters() = default;

  // PdhOpenQuery without a data source, user data 1: the result (0 on success) and the query.
  virtual uint32_t openQuery(PdhHandle& query) = 0;
  // Adds a counter by its path in the system's own language (PdhAddCounterA).
  virtual uint32_t addCounter(PdhHandle query, const std::string& path, PdhHandle& counter) = 0;
  // Adds a counter by its English path (PdhAddEnglishCounterA, where the library has it).
  virtual uint32_t addEnglishCounter(PdhHandle query, const std::string& path,
                                     PdhHandle& counter) = 0;
  // PdhCollectQueryData: takes a fresh sample.
  virtual uint32_t collect(PdhHandle query) = 0;
  // The counter's value formatted as a double; the status is the call's failure code when the
  // call failed, else the value's own status word.
  virtual CounterValue doubleValue(PdhHandle counter) = 0;
  virtual void closeQuery(PdhHandle query) = 0;

  // The first processor's times (NtQuerySystemInformation); nullopt when not available.
  virtual std::optional<ProcessorTimes> firstProcessorTimes() = 0;
  // The times of all processors together (GetSystemTimes); nullopt when not available.
  virtual std::optional<ProcessorTimes> systemTimes() = 0;

  // Windows 95/98/Me: opens keyPath under HKEY_DYN_DATA, reads the 4-byte value valueName into a
  // buffer preset to 0 and closes the key. nullopt when the key cannot be opened; 0 when the
  // value cannot be read.
  virtual std::optional<uint32_t> readDynData(const std::string& keyPath,
                                              const std::string& valueName) = 0;
};

}  // namespace velkaro
