#include "cpuload/clscpuload.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velkaro {

namespace {

constexpr int32_t kDefaultCapacity = 5;
constexpr uint32_t kPlatformNT = 2;

bool Usable(uint32_t status) {
  return status == pdh::kValidData || status == pdh::kNewData;
}

}  // namespace

std::optional<double> BusyPercent(const ProcessorTimes& before, const ProcessorTimes& after) {
  if (after.idle < before.idle || after.kernel < before.kernel || after.user < before.user)
    return std::nullopt;
  const double idle = static_cast<double>(after.idle - before.idle);
  const double total = static_cast<double>(after.kernel - before.kernel) +
                       static_cast<double>(after.user - before.user);
  if (!(total > 0)) return std::nullopt;
  return std::clamp(100.0 * (total - idle) / total, 0.0, 100.0);
}

int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  const double floor = std::floor(std::clamp(value, kLow, kHigh));
  const double rest = value - floor;
  double rounded = floor;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
  return static_cast<int32_t>(std::min(rounded, kHigh));
}

clsCPULoad::clsCPULoad(PerfCounters& perf, System& system) : perf_(perf), system_(system) {
  capacity_ = kDefaultCapacity;
  stack_.assign(static_cast<size_t>(capacity_), 0);
  count_ = 0;
  if (!IsNT()) return;
  setupStatus_ = perf_.openQuery(query_);
  if (setupStatus_ == 0) {
    // The counter path is known only to a German system; the English name reaches the same
    // counter elsewhere.
    setupStatus_ = perf_.addCounter(query_, kCounterPathNT, counter_);
    if (setupStatus_ == 0) {
      source_ = Source::Counter;
    } else {
      setupStatus_ = perf_.addEnglishCounter(query_, kCounterPathEnglish, counter_);
      if (setupStatus_ == 0) source_ = Source::EnglishCounter;
    }
  }
  if (source_ == Source::None) UseProcessorTimes();
}

clsCPULoad::~clsCPULoad() {
  if (query_ != 0) perf_.closeQuery(query_);
}

int32_t clsCPULoad::Val() {
  return IsNT() ? GetValueNT() : GetValue9x();
}

int32_t clsCPULoad::GetValueNT() {
  const bool counter = source_ == Source::Counter || source_ == Source::EnglishCounter;
  const CounterValue reading = counter ? ReadCounter() : ReadTimes();
  if (!Usable(reading.status)) return 0;
  AddToStack(RoundHalfEven(reading.value));
  return average_;
}

void clsCPULoad::StackSize(int32_t capacity) {
  capacity_ = std::max<int32_t>(capacity, 1);
  stack_.assign(static_cast<size_t>(capacity_), 0);
  count_ = 0;
  // The sum belongs to the readings just dropped.
  sum_ = 0;
}

int32_t clsCPULoad::GetValue9x() {
  keyPath_ = keyOpened_ ? kStatDataKey : kStartStatKey;
  const auto value = perf_.readDynData(keyPath_, kCpuUsageValue);
  keyOpened_ = value.has_value();  // a failed open leaves the key handle 0
  if (!value) return 0;
  AddToStack(static_cast<int32_t>(*value));
  return average_;
}

void clsCPULoad::AddToStack(int32_t reading) {
  const int32_t upper = capacity_ - 1;
  if (count_ <= upper) {
    stack_[static_cast<size_t>(count_)] = reading;
    sum_ += reading;
    ++count_;
  } else {
    sum_ = sum_ - stack_[0] + reading;
    std::move(stack_.begin() + 1, stack_.end(), stack_.begin());
    stack_[static_cast<size_t>(upper)] = reading;
  }
  average_ = RoundHalfEven(static_cast<double>(sum_) / count_);
}

bool clsCPULoad::IsNT() {
  if (!nt_) {
    const auto version = ReadVersionRecord(system_);
    nt_ = version && version->platformId == kPlatformNT;
  }
  return *nt_;
}

CounterValue clsCPULoad::ReadCounter() {
  perf_.collect(query_);
  const CounterValue reading = perf_.doubleValue(counter_);
  // A counter that never delivers a changing value (one the system accepts but does not keep)
  // gives way to the processor times.
  if (!Usable(reading.status) || reading.value == lastCounterValue_) {
    ++unchangedReadings_;
  } else {
    unchangedReadings_ = 0;
    lastCounterValue_ = reading.value;
  }
  if (unchangedReadings_ >= kStuckReadings) UseProcessorTimes();
  return reading;
}

CounterValue clsCPULoad::ReadTimes() {
  CounterValue reading;
  const auto now = Times();
  if (!now) return reading;
  if (lastTimes_) {
    if (const auto busy = BusyPercent(*lastTimes_, *now)) reading = {*busy, pdh::kValidData};
  }
  lastTimes_ = now;
  return reading;
}

std::optional<ProcessorTimes> clsCPULoad::Times() {
  if (source_ == Source::FirstProcessorTimes) return perf_.firstProcessorTimes();
  if (source_ == Source::SystemTimes) return perf_.systemTimes();
  return std::nullopt;
}

void clsCPULoad::UseProcessorTimes() {
  // The first processor, like the counter; all processors together where that is not known.
  lastTimes_ = perf_.firstProcessorTimes();
  source_ = Source::FirstProcessorTimes;
  if (!lastTimes_) {
    lastTimes_ = perf_.systemTimes();
    source_ = lastTimes_ ? Source::SystemTimes : Source::None;
  }
}

}  // namespace velkaro
