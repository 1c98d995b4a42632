// The processor times against the real calls (under Wine: the host's), the source the sampler
// takes where no counter names the first processor.
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

}  // namespace
