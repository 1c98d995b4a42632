#include "app/prgkern.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

using namespace velkaro;

TEST(Pause, WaitsTheTimeWhileProcessingEventsNeverLongerAndEndsWithTheProgram) {
  const struct {
    double start, step, seconds;
    double endingAt;  // when the program starts ending; 0: never
    double end;       // the clock afterwards, at most one step later
    int minWaits, maxWaits;
  } cases[] = {
      {50, 0.1, 1.0, 0, 51.0, 9, 11},
      {50, 0.1, 0.9, 0, 50.9, 8, 10},
      {50, 0.1, 0.25, 0, 50.25, 2, 3},
      {0, 0, 0.9, 0, 0.9, 1, 1},  // each wait lasts as long as it is allowed to
      {7, 0.1, 0, 0, 7, 0, 0},
      {7, 0.1, -3, 0, 7, 0, 0},
      // Seconds since midnight would jump from 86399.8 back to 0.3; the monotonic clock does not.
      {86399.8, 0.1, 1, 0, 86400.8, 9, 11},
      {0, 0.1, 5, 0.2, 0.2, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " + " << c.seconds << " s");
    fakes::FakeClock clock(c.start);
    fakes::FakePump pump(clock);
    pump.step = c.step;
    int ticks = 0;
    pump.at(c.start + 0.3, [&] { ++ticks; });
    if (c.endingAt > 0) pump.at(c.endingAt, [&] { pump.ending = true; });
    PrgKern::Pause(clock, pump, c.seconds);
    EXPECT_GE(clock.now, c.end - 1e-9);
    EXPECT_LE(clock.now, c.end + c.step + 1e-9);
    EXPECT_GE(pump.waits, c.minWaits);
    EXPECT_LE(pump.waits, c.maxWaits);
    EXPECT_EQ(ticks, c.seconds > 0.3 && c.endingAt == 0 ? 1 : 0);
  }
}
