// The performance counters and the processor times against the real calls (under Wine: its PDH
// and the host's times), the source the sampler takes where no counter names the first processor.
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

TEST(Win32PerfCounters, TheQueryTakesOnlyCountersTheSystemKnowsSoTheSamplerTakesTheTimes) {
  Win32PerfCounters perf;
  PdhHandle query = 0, counter = 0;
  ASSERT_EQ(perf.openQuery(query), 0u);
  // Wine knows no German names and no single-processor instance by either name.
  EXPECT_EQ(perf.addCounter(query, kCounterPathNT, counter), pdh::kNoCounter);
  EXPECT_EQ(perf.addEnglishCounter(query, kCounterPathEnglish, counter), pdh::kNoCounter);
  ASSERT_EQ(perf.addEnglishCounter(query, "\\Processor(_Total)\\% Processor Time", counter), 0u);
  EXPECT_EQ(perf.collect(query), 0u);
  const CounterValue value = perf.doubleValue(counter);
  EXPECT_TRUE(value.status == pdh::kValidData || value.status == pdh::kNewData) << value.status;
  EXPECT_GE(value.value, 0.0);
  EXPECT_NE(perf.doubleValue(0).status, pdh::kValidData);  // no counter: a failure, not data
  perf.closeQuery(query);
  EXPECT_FALSE(perf.readDynData(kStartStatKey, kCpuUsageValue));  // no Windows 9x statistics
  Win32System system;
  EXPECT_EQ(clsCPULoad(perf, system).source(), clsCPULoad::Source::FirstProcessorTimes);
}

TEST(Win32PerfCounters, ProcessorTimesShowAFirstProcessorKeptBusy) {
  Win32PerfCounters perf;
  DWORD_PTR mask = 0, system = 0;
  const auto before = perf.firstProcessorTimes();
  const auto allBefore = perf.systemTimes();
  ASSERT_TRUE(before && allBefore);
  // Kernel time includes idle time and the kernel's own work: since the start it is more.
  EXPECT_GT(before->kernel, before->idle);
  EXPECT_GT(allBefore->kernel, allBefore->idle);
  EXPECT_GE(allBefore->idle, before->idle);  // all processors hold at least the first
  if (!(GetProcessAffinityMask(GetCurrentProcess(), &mask, &system) && (mask & 1)))
    GTEST_SKIP() << "the first processor is not this process's to use";
  SpinOnFirstProcessor(400);
  const auto busy = BusyPercent(*before, *perf.firstProcessorTimes());
  ASSERT_TRUE(busy.has_value());
  EXPECT_GT(*busy, 50.0);
  EXPECT_TRUE(BusyPercent(*allBefore, *perf.systemTimes()).has_value());
}

}  // namespace
