#include "program/status_line.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/prgkern.h"
#include "fakes/fake_form.h"

using namespace velkaro;

namespace {

TEST(StatusTexts, UptimeCountsAnUnsigned64BitCountDateIsDayMonthYearBar24HourTime) {
  const std::pair<uint64_t, const char*> cases[] = {
      {93'784'000, "1 Tag(e), 2 Stunde(n), 03 Minute(n), 04 Sekunde(n)"},
      {59'000, "0 Tag(e), 0 Stunde(n), 00 Minute(n), 59 Sekunde(n)"},
      {3'600'000, "0 Tag(e), 1 Stunde(n), 00 Minute(n), 00 Sekunde(n)"},
      {(1ull << 31) + 1, "24 Tag(e), 20 Stunde(n), 31 Minute(n), 23 Sekunde(n)"},
      {(1ull << 32) + 1, "49 Tag(e), 17 Stunde(n), 02 Minute(n), 47 Sekunde(n)"},
      {200ull * 86'400'000, "200 Tag(e), 0 Stunde(n), 00 Minute(n), 00 Sekunde(n)"},
  };
  fakes::FakeClock clock;
  for (const auto& [ms, text] : cases) {
    clock.uptimeMs = ms;
    EXPECT_EQ(PrgKern::UptimeText(clock), text) << ms;
  }
  EXPECT_EQ(DateTimeText({2026, 12, 5, 6, 48, 42}), "05.12.2026  |  06:48:42");
  EXPECT_EQ(DateTimeText({2027, 2, 3, 14, 5, 9}), "03.02.2027  |  14:05:09");
}

// Writes "events" into the view's log wherever the tick lets window events in; `during` runs
// inside the first of them.
struct LoggingPump : EventPump {
  explicit LoggingPump(fakes::FakeView& view) : view(view) {}
  bool doEvents() override {
    view.log.push_back("events");
    if (auto event = std::exchange(during, nullptr)) event();
    return !ending;
  }
  bool waitEvents(double) override { return doEvents(); }
  fakes::FakeView& view;
  std::function<void()> during;
  bool ending = false;
};

struct ClockThatFails : fakes::FakeClock {
  LocalTime localTime() override { throw std::runtime_error("no calendar"); }
};

struct StatusTick : testing::Test {
  ClockThatFails failingClock;
  StatusTick() {
    f.system.versions[156].platformId = 2;
    f.perf.values = {{7.4, pdh::kValidData}};
    f.clock.uptimeMs = 93'784'000;
    f.machine.memory = {7, 1024 * 1024, 1536, 2048, 0, 3072, 4096};
    status.CreateSampler();
    view.log.clear();
  }
  fakes::FakePlatform f;
  fakes::FakeView view;
  LoggingPump pump{view};
  Platform platform{f.registry,   f.system,  f.shell,   f.clock, pump,    f.files,
                    f.management, f.machine, f.devices, f.perf,  f.power, f.arena};
  StatusLine status{view, platform};
};

TEST_F(StatusTick, WritesTheFieldsInOrderWithEventsAtFourPoints) {
  status.Timer1_Timer();
  EXPECT_EQ(view.log,
            (std::vector<std::string>{
                "events", "text Text5(8)=7%", "events", "text uhrdate=05.12.2026  |  06:48:42",
                "text Text1(4)=1 Tag(e), 2 Stunde(n), 03 Minute(n), 04 Sekunde(n)",
                "text Text1(52)=1024 KB.", "text Text1(53)=1,5 KB.", "events",
                "text Text1(54)=3 KB.", "text Text1(55)=4 KB.", "text Text1(56)=2 KB.", "events",
                "text Text1(57)=0 KB.", "text Text1(58)=7 %"}));
  EXPECT_FALSE(view.isVisible(ids::P1(4)));  // written though their panel is hidden
}

TEST_F(StatusTick, FailingStepIsSkippedAndEndingProgramStopsTheTick) {
  Platform withFailingClock{f.registry,   f.system,  f.shell,   failingClock, pump,    f.files,
                            f.management, f.machine, f.devices, f.perf,       f.power, f.arena};
  StatusLine failing{view, withFailingClock};
  failing.Timer1_Timer();
  const auto texts = view.written();
  EXPECT_EQ(texts.size(), 8u);  // no sampler yet, no date: the rest is written
  EXPECT_EQ(view.text(ids::kUhrdate), "00.00.0000  |  00:00:00");
  EXPECT_EQ(texts.front().rfind("text Text1(4)=", 0), 0u);

  view.log.clear();
  pump.ending = true;
  status.Timer1_Timer();
  EXPECT_EQ(view.log, std::vector<std::string>{"events"});
}

TEST_F(StatusTick, TickArrivingInsideARunningTickIsSkipped) {
  f.perf.values.push_back({50, pdh::kValidData});
  f.perf.values.push_back({90, pdh::kValidData});
  pump.during = [this] { status.Timer1_Timer(); };
  status.Timer1_Timer();
  EXPECT_EQ(view.written().size(), 10u);
  EXPECT_EQ(view.text(ids::Text5(8)), "7%");
  status.Timer1_Timer();                       // the guard is released after the tick
  EXPECT_EQ(view.text(ids::Text5(8)), "28%");  // (7 + 50) / 2, half to even
}

TEST(ComposeStatusLine, LoadCreatesTheSamplerAndTheTimerRefreshes) {
  fakes::ComposedForm<> c;
  c.fake.system.versions[156].platformId = 2;
  c.form.Form_Load();
  EXPECT_EQ(c.fake.perf.log.front(), "open");
  c.fake.perf.values = {{12, pdh::kValidData}};
  c.form.Timer1_Timer();
  EXPECT_EQ(c.view.text(ids::Text5(8)), "12%");
  EXPECT_EQ(c.view.text(ids::kUhrdate), "05.12.2026  |  06:48:42");
}

}  // namespace
