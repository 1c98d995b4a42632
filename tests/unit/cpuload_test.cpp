#include "cpuload/clscpuload.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fakes.h"

using namespace velkaro;
using fakes::FakePerf;
using Source = clsCPULoad::Source;

namespace {

struct Sampler : testing::Test {
  Sampler() { system.versions[156].platformId = 2; }
  std::unique_ptr<clsCPULoad> Make() { return std::make_unique<clsCPULoad>(perf, system); }
  void Readings(const std::vector<double>& values, uint32_t status = pdh::kValidData) {
    for (double v : values) perf.values.push_back({v, status});
  }
  FakePerf perf;
  fakes::FakeSystem system;
};

TEST_F(Sampler, CounterWithoutChangingValueGivesWayToProcessorTimes) {
  // Wine's kind of counter: accepted, but its value never moves.
  perf.addResult = pdh::kNoCounter;
  Readings(std::vector<double>(clsCPULoad::kStuckReadings + 1, 5.0));
  perf.processor = {ProcessorTimes{0, 0, 0}, ProcessorTimes{500, 1000, 1000}};
  auto sampler = Make();
  sampler->StackSize(10);
  for (int i = 0; i <= clsCPULoad::kStuckReadings; ++i) {
    EXPECT_EQ(sampler->source(), Source::EnglishCounter);
    EXPECT_EQ(sampler->Val(), 5);
  }
  EXPECT_EQ(sampler->source(), Source::FirstProcessorTimes);
  EXPECT_EQ(sampler->Val(), 12);  // nine readings of 5 and one of 75
}

TEST_F(Sampler, ProcessorTimesGoThroughTheSameRulesAndAverage) {
  perf.openResult = pdh::kLibraryMissing;
  perf.processor = {ProcessorTimes{0, 0, 0}, ProcessorTimes{250, 500, 500},
                    ProcessorTimes{1250, 1500, 500}, std::nullopt, ProcessorTimes{1250, 1700, 700}};
  auto sampler = Make();
  sampler->StackSize(10);
  EXPECT_EQ(sampler->Val(), 75);
  EXPECT_EQ(sampler->Val(), 38);  // (75 + 0) / 2 = 37.5
  EXPECT_EQ(sampler->Val(), 0);   // no reading: dropped
  EXPECT_EQ(sampler->Val(), 58);  // (75 + 0 + 100) / 3
}

}  // namespace
