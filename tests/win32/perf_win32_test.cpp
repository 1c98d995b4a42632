// The processor-load sources and the clock against the real calls (under Wine: its PDH, and
// processor times that are the host's).
#include <windows.h>

#include <gtest/gtest.h>

#include "cpuload/clscpuload.h"
#include "win32/perf_win32.h"
#include "win32/platform_bundle.h"

using namespace velkaro;
using namespace velkaro::win32;

namespace {

// Keeps the first processor busy for the given time.
void SpinOnFirstProcessor(DWORD milliseconds) {
  const DWORD_PTR previous = SetThreadAffinityMask(GetCurrentThread(), 1);
  const DWORD start = GetTickCount();
  volatile unsigned long long n = 0;
  while (GetTickCount() - start < milliseconds) n = n + 1;
  SetThreadAffinityMask(GetCurrentThread(), previous);
}

TEST(Win32PerfCounters, QueryTakesOnlyTheCountersTheSystemKnowsAndThereAreNoDynData) {
  Win32PerfCounters perf;
  PdhHandle query = 0;
  ASSERT_EQ(perf.openQuery(query), 0u);
  ASSERT_NE(query, 0u);
  struct Case {
    const char* path;
    bool english;
  };
  // Wine knows no German names and no single-processor instance by either name.
  for (const Case& c : {Case{kCounterPathNT, false}, Case{kCounterPathEnglish, true}}) {
    PdhHandle counter = 0;
    EXPECT_EQ(c.english ? perf.addEnglishCounter(query, c.path, counter)
                        : perf.addCounter(query, c.path, counter),
              pdh::kNoCounter)
        << c.path;
    EXPECT_EQ(counter, 0u);
  }
  PdhHandle total = 0;
  ASSERT_EQ(perf.addEnglishCounter(query, "\\Processor(_Total)\\% Processor Time", total), 0u);
  EXPECT_EQ(perf.collect(query), 0u);
  const CounterValue value = perf.doubleValue(total);
  EXPECT_TRUE(value.status == pdh::kValidData || value.status == pdh::kNewData) << value.status;
  EXPECT_GE(value.value, 0.0);
  EXPECT_NE(perf.doubleValue(0).status, pdh::kValidData);  // no counter: a failure, not data
  perf.closeQuery(query);
  EXPECT_FALSE(perf.readDynData(kStartStatKey, kCpuUsageValue));  // no Windows 9x statistics
}

TEST(Win32PerfCounters, ProcessorTimesShowAFirstProcessorKeptBusy) {
  Win32PerfCounters perf;
  const auto before = perf.firstProcessorTimes();
  const auto allBefore = perf.systemTimes();
  ASSERT_TRUE(before && allBefore);
  EXPECT_GE(before->kernel, before->idle);
  EXPECT_GE(allBefore->kernel, before->kernel);  // all processors hold at least the first
  SpinOnFirstProcessor(400);
  const auto busy = BusyPercent(*before, *perf.firstProcessorTimes());
  ASSERT_TRUE(busy.has_value());
  EXPECT_GT(*busy, 50.0);
  EXPECT_TRUE(BusyPercent(*allBefore, *perf.systemTimes()).has_value());
}

TEST(Win32PerfCounters, SamplerTakesTheFirstProcessorsTimesAndRisesWhenItIsBusy) {
  Win32PerfCounters perf;
  Win32System system;
  clsCPULoad sampler(perf, system);
  EXPECT_EQ(sampler.source(), clsCPULoad::Source::FirstProcessorTimes);
  sampler.StackSize(10);
  SpinOnFirstProcessor(300);
  EXPECT_GT(sampler.Val(), 50);
}

TEST(Win32Clock, UptimeAndLocalTimeComeFromTheSystem) {
  Win32Clock clock;
  const uint64_t uptime = clock.uptimeMilliseconds();
  // The 32-bit count is the low part of the same count.
  EXPECT_LT(GetTickCount() - static_cast<DWORD>(uptime), 1000u);
  SYSTEMTIME now;
  GetLocalTime(&now);
  const LocalTime local = clock.localTime();
  EXPECT_EQ(local.year, now.wYear);
  EXPECT_TRUE(local.month >= 1 && local.month <= 12 && local.day >= 1 && local.day <= 31);
  EXPECT_TRUE(local.hour < 24 && local.minute < 60 && local.second < 60);
}

}  // namespace
