#include "program/status_line.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/prgkern.h"
#include "fakes/fake_view.h"

using namespace velkaro;

namespace {

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

}  // namespace
