#include "collectors/ram_release.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_view.h"

using namespace velkaro;
using ids::kProgressBar1;

namespace {

constexpr uint64_t MiB = 1ull << 20;

// Records the progress bar's values in the log as well.
class ProgressView : public fakes::FakeView {
 public:
  void setValue(int id, int value) override {
    FakeView::setValue(id, value);
    if (id == kProgressBar1) log.push_back("bar " + std::to_string(value));
  }
};

std::string Step(int p) {
  return "text Label13=Räume Speicher frei.... [" + std::to_string(p) + "%] Optimiert...";
}
const std::string kEnd = "text Label13=Speicher freigeräumt !";

// 55 MiB of physical memory, 12345678 bytes of it free, a 64-bit address space; the window is
// composed over the fakes.
struct Release : fakes::ComposedForm<ProgressView> {
  explicit Release(int failAt = -1, bool ending = false) {
    fake.machine.memory.totalPhys = 55 * MiB;
    fake.machine.memory.availPhys = 12345678;
    fake.machine.memory.availVirtual = 128ull << 40;
    fake.arena.failAt = failAt;
    fake.pump.ending = ending;
  }
};

}  // namespace

TEST(MemoryRelease, TwentyOneStepsWithProgressTextsAndEventsThenAllGivenBack) {
  Release run;
  int heldAtFirstEvents = -1;
  run.fake.pump.at(run.fake.clock.now, [&] { heldAtFirstEvents = run.fake.arena.held(); });
  ram::MemoryRelease(run.fake.platform, run.view).ReleaseMemory();

  std::vector<std::string> expected = {"pointer busy",
                                       "text Label13=Freier Speicher voher: 12056,326171875 KB"};
  for (int p = 0; p <= 100; p += 5)
    expected.insert(expected.end(), {"bar " + std::to_string(p), Step(p)});
  expected.insert(expected.end(), {"bar 0", kEnd, "pointer normal"});
  EXPECT_EQ(run.view.log, expected);
  EXPECT_EQ(run.fake.pump.pumps, 21);
  EXPECT_EQ(heldAtFirstEvents, 1);  // events run after the step's chunk is taken
  EXPECT_EQ(run.fake.arena.requested, std::vector<std::size_t>(21, MiB));
  for (const auto& chunk : run.fake.arena.chunks) {
    EXPECT_TRUE(chunk.released);
    EXPECT_TRUE(chunk.allBlanks);  // every character written
  }
  EXPECT_EQ(run.fake.arena.strayReleases, 0);
}

TEST(MemoryRelease, StopsEarlyWhenAChunkCannotBeHadOrTheProgramEnds) {
  const struct {
    int failAt;
    bool ending;
    std::size_t requests;
    std::vector<std::string> before;  // the log just before the end
  } cases[] = {
      {7, false, 8, {Step(30), "bar 35"}},  // chunks 0 .. 6, then the refused one
      {0, false, 1, {"text Label13=Freier Speicher voher: 12056,326171875 KB", "bar 0"}},
      {-1, true, 1, {"bar 0", Step(0)}},
  };
  for (const auto& c : cases) {
    Release run(c.failAt, c.ending);
    ram::MemoryRelease(run.fake.platform, run.view).ReleaseMemory();
    const auto& log = run.view.log;
    EXPECT_EQ(run.fake.arena.requested.size(), c.requests);
    EXPECT_EQ(run.fake.arena.held(), 0);
    auto expected = c.before;
    expected.insert(expected.end(), {"bar 0", kEnd, "pointer normal"});
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 5, log.end()), expected);
  }
}

TEST(MemoryRelease, AClickDuringTheLoopIsRefusedAndALaterOneRuns) {
  Release run;
  run.fake.pump.at(run.fake.clock.now, [&] { run.form.OnClick(ids::Image(18)); });
  run.form.OnClick(ids::Image(18));
  EXPECT_EQ(run.fake.arena.requested.size(), 21u);
  EXPECT_EQ(std::count(run.view.log.begin(), run.view.log.end(), "pointer busy"), 1);
  run.form.OnClick(ids::Image(18));
  EXPECT_EQ(run.fake.arena.requested.size(), 42u);
  EXPECT_EQ(run.fake.arena.held(), 0);
}
