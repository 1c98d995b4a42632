// A click on the memory release's button while its loop lets events in: refused, and a later one
// runs. (Its steps, early ends and the memory it holds are in the scenarios.)
#include "collectors/ram_release.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "fakes/fake_view.h"

using namespace velkaro;

TEST(MemoryRelease, AClickDuringTheLoopIsRefusedAndALaterOneRuns) {
  fakes::ComposedForm<> run;
  run.fake.machine.memory.totalPhys = 55ull << 20;
  run.fake.machine.memory.availVirtual = 128ull << 40;
  run.fake.pump.at(run.fake.clock.now, [&] { run.form.OnClick(ids::Image(18)); });
  run.form.OnClick(ids::Image(18));
  EXPECT_EQ(run.fake.arena.requested.size(), 21u);
  EXPECT_EQ(std::count(run.view.log.begin(), run.view.log.end(), "pointer busy"), 1);
  run.form.OnClick(ids::Image(18));
  EXPECT_EQ(run.fake.arena.requested.size(), 42u);
  EXPECT_EQ(run.fake.arena.held(), 0);
}
