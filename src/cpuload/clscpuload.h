// The processor-load sampler: one reading per call, smoothed as the average of the last
// StackSize readings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/perf.h"
#include "platform/system.h"

namespace velkaro {

inline constexpr const char* kCounterPathNT = "\\Prozessor(0)\\Prozessorzeit (%)";
inline constexpr const char* kCounterPathEnglish = "\\Processor(0)\\% Processor Time";
inline constexpr const char* kStartStatKey = "PerfStats\\StartStat";
inline constexpr const char* kStatDataKey = "PerfStats\\StatData";
inline constexpr const char* kCpuUsageValue = "KERNEL\\CPUUsage";

// The busy share of the interval between two readings of processor times, in percent clamped
// to 0..100; nullopt when no time passed or a count went back.
std::optional<double> BusyPercent(const ProcessorTimes& before, const ProcessorTimes& after);

// A fraction rounded to the nearest whole number, a half to the even neighbour.
int32_t RoundHalfEven(double value);

class clsCPULoad {
 public:
  // Where the NT readings come from.
  enum class Source { None, Counter, EnglishCounter, FirstProcessorTimes, SystemTimes };

  // Identical or unusable counter readings in a row after which the counter counts as stuck and
  // the processor times take over (about three seconds at four readings a second).
  static constexpr int kStuckReadings = 12;

  // Class_Initialize: capacity 5; on the NT family the query is opened and the counter added.
  clsCPULoad(PerfCounters& perf, System& system);
  // Class_Terminate: closes the query.
  ~clsCPULoad();
  clsCPULoad(const clsCPULoad&) = delete;
  clsCPULoad& operator=(const clsCPULoad&) = delete;

  // The current load in percent, averaged.
  int32_t Val();
  // One NT reading folded into the average; 0 when the reading is not usable.
  int32_t GetValueNT();
  // The averaging depth; setting it empties the stack. A capacity below 1 is taken as 1.
  void StackSize(int32_t capacity);
  int32_t StackSize() const { return capacity_; }

  Source source() const { return source_; }

 private:
  int32_t GetValue9x();
  void AddToStack(int32_t reading);
  bool IsNT();
  CounterValue ReadCounter();
  CounterValue ReadTimes();
  std::optional<ProcessorTimes> Times();
  void UseProcessorTimes();

  PerfCounters& perf_;
  System& system_;
  PdhHandle query_ = 0;
  PdhHandle counter_ = 0;
  uint32_t setupStatus_ = 0;
  std::vector<int32_t> stack_;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
  int32_t sum_ = 0;
  int32_t average_ = 0;

  bool keyOpened_ = false;  // the last open of a statistics key succeeded
  std::string keyPath_;
  std::optional<bool> nt_;

  Source source_ = Source::None;
  double lastCounterValue_ = -1;
  int unchangedReadings_ = 0;
  std::optional<ProcessorTimes> lastTimes_;
};

}  // namespace velkaro
