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

TEST_F(Sampler, AveragesUsableReadingsOverTheLastCapacityHalfToEvenAFreshOneOnEachSetting) {
  constexpr uint32_t kNew = pdh::kNewData, kOther = 2, kNone = pdh::kInvalidData;
  struct Case {
    int capacity;  // 0: the capacity at creation
    std::vector<CounterValue> readings;
    std::vector<int> averages;
  };
  const Case cases[] = {
      {10, {{10, 0}, {20, 0}, {30, 0}}, {10, 15, 20}},
      {2, {{1, 0}, {2, 0}}, {1, 2}},  // 1.5 -> 2
      {2, {{2, 0}, {3, 0}}, {2, 2}},  // 2.5 -> 2
      {3, {{10, 0}, {20, 0}, {30, 0}, {40, 0}}, {10, 15, 20, 30}},
      {0, {{100, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}, {100, 50, 33, 25, 20, 0}},
      {1, {{49.5, 0}, {48.5, 0}, {0.5, 0}, {1.5, 0}}, {50, 48, 0, 2}},
      {-3, {{10, 0}, {20, 0}}, {10, 20}},  // a capacity below 1 keeps one reading
      // Status 1 counts; any other status gives 0 and leaves the average as it was.
      {10, {{40, kNew}, {90, kOther}, {90, kNone}, {20, 0}}, {40, 0, 0, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "capacity " << c.capacity);
    perf.values.assign(c.readings.begin(), c.readings.end());
    auto sampler = Make();
    EXPECT_EQ(sampler->StackSize(), 5);
    if (c.capacity != 0) sampler->StackSize(c.capacity);
    std::vector<int> averages;
    for (size_t i = 0; i < c.readings.size(); ++i) averages.push_back(sampler->Val());
    EXPECT_EQ(averages, c.averages);
  }
  // Setting the capacity starts a fresh average.
  Readings({90, 90, 10});
  auto sampler = Make();
  sampler->Val();
  sampler->Val();
  sampler->StackSize(3);
  EXPECT_EQ(sampler->Val(), 10);
}

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

TEST_F(Sampler, Windows9xReadsStartStatFirstThenStatData) {
  system.versions = {{156, Family(1)}};
  perf.dynData = {30, 50, std::nullopt, 70};
  std::vector<int> values;
  {
    auto sampler = Make();
    sampler->StackSize(10);
    for (int i = 0; i < 4; ++i) values.push_back(sampler->Val());
  }
  EXPECT_EQ(values, (std::vector<int>{30, 40, 0, 50}));
  // A failed open leaves the key handle 0, so the next call starts the statistics again; no
  // performance query is ever opened or closed.
  EXPECT_EQ(perf.log, (std::vector<std::string>{"dyn PerfStats\\StartStat KERNEL\\CPUUsage",
                                                "dyn PerfStats\\StatData KERNEL\\CPUUsage",
                                                "dyn PerfStats\\StatData KERNEL\\CPUUsage",
                                                "dyn PerfStats\\StartStat KERNEL\\CPUUsage"}));
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

TEST(BusyPercent, IsTheBusyShareOfTheInterval) {
  struct Case {
    ProcessorTimes before, after;  // idle, kernel (with idle), user
    std::optional<double> percent;
  };
  const Case cases[] = {
      {{100, 200, 300}, {350, 700, 800}, 75.0},
      {{0, 0, 0}, {1000, 1000, 0}, 0.0},
      {{0, 0, 0}, {0, 400, 600}, 100.0},
      {{0, 0, 0}, {2000, 1000, 0}, 0.0},  // more idle than time: clamped
      {{5, 5, 5}, {5, 5, 5}, std::nullopt},
      {{10, 20, 30}, {5, 40, 40}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(BusyPercent(c.before, c.after), c.percent);
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
