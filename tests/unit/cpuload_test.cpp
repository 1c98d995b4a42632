#include "cpuload/clscpuload.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_perf.h"
#include "fakes/fake_platform.h"

using namespace velkaro;
using fakes::FakePerf;
using Source = clsCPULoad::Source;

namespace {

VersionRecord Family(uint32_t platformId) {
  VersionRecord v;
  v.platformId = platformId;
  return v;
}

struct Sampler : testing::Test {
  Sampler() { system.versions[156] = Family(2); }
  std::unique_ptr<clsCPULoad> Make() { return std::make_unique<clsCPULoad>(perf, system); }
  void Readings(const std::vector<double>& values, uint32_t status = pdh::kValidData) {
    for (double v : values) perf.values.push_back({v, status});
  }
  FakePerf perf;
  fakes::FakeSystem system;
};

TEST_F(Sampler, PlatformFamilyIsDeterminedOnceWithTheRecordRetry) {
  struct Case {
    std::map<uint32_t, VersionRecord> versions;
    bool nt;
    std::vector<uint32_t> calls;
  };
  const Case cases[] = {
      {{{156, Family(2)}}, true, {156}},
      {{{148, Family(2)}}, true, {156, 148}},
      {{{156, Family(1)}}, false, {156}},
      {{}, false, {156, 148}},
  };
  for (const Case& c : cases) {
    system.versions = c.versions;
    system.versionCalls.clear();
    perf.log.clear();
    {
      auto sampler = Make();
      for (int i = 0; i < 3; ++i) sampler->Val();
    }
    EXPECT_EQ(system.versionCalls, c.calls);
    EXPECT_EQ(perf.log.front(), c.nt ? "open" : "dyn PerfStats\\StartStat KERNEL\\CPUUsage");
  }
}

TEST_F(Sampler, SourceFallsBackFromGermanToEnglishToProcessorTimes) {
  struct Case {
    uint32_t open, german, english;
    int times;  // 2: both kinds of processor times, 1: only all processors' together, 0: none
    Source source;
    std::vector<std::string> setup;
  };
  const std::string de = "add \\Prozessor(0)\\Prozessorzeit (%) to 11";
  const std::string en = "add english \\Processor(0)\\% Processor Time to 11";
  const std::string first = "processor times", all = "system times";
  constexpr uint32_t kNo = pdh::kNoCounter;
  // clang-format off
  const Case cases[] = {
      {0, 0, 0, 2, Source::Counter, {"open", de}},
      {0, kNo, 0, 2, Source::EnglishCounter, {"open", de, en}},
      {0, kNo, pdh::kFunctionMissing, 2, Source::FirstProcessorTimes, {"open", de, en, first}},
      {0, kNo, kNo, 1, Source::SystemTimes, {"open", de, en, first, all}},
      {pdh::kLibraryMissing, 0, 0, 0, Source::None, {"open", first, all}},
  };
  // clang-format on
  for (const Case& c : cases) {
    perf = FakePerf();
    perf.openResult = c.open;
    perf.addResult = c.german;
    perf.addEnglishResult = c.english;
    if (c.times == 2) perf.processor = {ProcessorTimes{}};
    if (c.times >= 1) perf.system = {ProcessorTimes{}};
    {
      auto sampler = Make();
      EXPECT_EQ(sampler->source(), c.source);
      EXPECT_EQ(perf.log, c.setup);
      if (c.source == Source::None) {
        EXPECT_EQ(sampler->Val(), 0);
      }
    }
    // The query lives exactly as long as the sampler.
    EXPECT_EQ(perf.log.back(), c.open == 0 ? "close 11" : c.setup.back());
  }
}

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
