#include "app/prgkern.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

using namespace velkaro;
using fakes::FakeClock;
using fakes::FakePump;

TEST(Pause, WaitsTheRequestedTimeWhileProcessingEvents) {
  for (double seconds : {1.0, 0.9, 0.25}) {
    SCOPED_TRACE(seconds);
    FakeClock clock(50.0);
    FakePump pump(clock);
    pump.step = 0.1;
    int ticks = 0;
    pump.at(50.3, [&] { ++ticks; });
    PrgKern::Pause(clock, pump, seconds);
    EXPECT_GE(clock.now - 50.0, seconds - 1e-9);
    EXPECT_LT(clock.now - 50.0, seconds + 0.1);
    EXPECT_GE(pump.waits, static_cast<int>(seconds / 0.1) - 1);
    EXPECT_EQ(ticks, seconds > 0.3 ? 1 : 0);
  }
}

TEST(Pause, NeverWaitsBeyondTheRemainingTime) {
  FakeClock clock(0);
  FakePump pump(clock);  // each wait lasts as long as it is allowed to
  PrgKern::Pause(clock, pump, 0.9);
  EXPECT_NEAR(clock.now, 0.9, 1e-6);
  EXPECT_EQ(pump.waits, 1);
}

TEST(Pause, ZeroOrNegativeSecondsReturnAtOnce) {
  FakeClock clock(7);
  FakePump pump(clock);
  PrgKern::Pause(clock, pump, 0);
  PrgKern::Pause(clock, pump, -3);
  EXPECT_EQ(pump.waits, 0);
  EXPECT_DOUBLE_EQ(clock.now, 7);
}

TEST(Pause, SpansMidnightOfTheTimeOfDay) {
  // Seconds since midnight would jump from 86399.8 back to 0.3 here; the monotonic clock does not.
  FakeClock clock(86399.8);
  FakePump pump(clock);
  pump.step = 0.1;
  PrgKern::Pause(clock, pump, 1);
  EXPECT_NEAR(clock.now, 86400.8, 1e-6);
}

TEST(Pause, EndsEarlyWhenTheProgramIsEnding) {
  FakeClock clock(0);
  FakePump pump(clock);
  pump.step = 0.1;
  pump.at(0.2, [&] { pump.ending = true; });
  PrgKern::Pause(clock, pump, 5);
  EXPECT_LT(clock.now, 0.5);
}
