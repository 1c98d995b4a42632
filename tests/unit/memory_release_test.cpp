#include "tools/memory_release.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"
#include "program/compose.h"

using namespace velkaro;
using ids::kLabel13;
using ids::kProgressBar1;

namespace {

constexpr uint64_t MiB = 1ull << 20;
constexpr uint64_t GiB = 1ull << 30;

// A fake view that also records the progress bar's values and Label13's texts, in order.
class ProgressView : public fakes::FakeView {
 public:
  void setValue(int id, int value) override {
    FakeView::setValue(id, value);
    if (id == kProgressBar1) log.push_back("bar " + std::to_string(value));
  }
};

class MemoryReleaseTest : public ::testing::Test {
 protected:
  MemoryReleaseTest() {
    // 55 MiB of physical memory, 12345678 bytes of it free, a 64-bit address space.
    fake.machine.memory.totalPhys = 55 * MiB;
    fake.machine.memory.availPhys = 12345678;
    fake.machine.memory.availVirtual = 128ull << 40;
  }
  void Run() { ram::ReleaseMemory(fake.platform, view); }
  // The log entries that start with `prefix`.
  std::vector<std::string> Logged(const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& e : view.log)
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    return out;
  }

  fakes::FakePlatform fake;
  ProgressView view;
};

std::string Step(int p) {
  return "text Label13=Räume Speicher frei.... [" + std::to_string(p) + "%] Optimiert...";
}

}  // namespace

TEST(MemoryReleaseSizing, ChunksComeFromThe64BitTotalAndFitTheAddressSpace) {
  const struct {
    uint64_t totalPhys, freeAddressSpace, chars;
  } cases[] = {
      {55 * MiB, 128ull << 40, MiB},                    // 1 MiB characters, 2 MiB per chunk
      {55 * MiB + 27, 128ull << 40, MiB},               // 0.49 rounds down
      {55 * MiB + 28, 128ull << 40, MiB + 1},           // 0.51 rounds up
      {110, 1 * GiB, 2},                                // exactly 2
      {165, 1 * GiB, 3},                                // exactly 3
      {24 * GiB, 128ull << 40, 468541887},              // above 2^31 stays positive
      {24 * GiB, 1900 * MiB, 1900 * MiB * 7 / 8 / 42},  // 32-bit process: capped
      {3 * GiB, 1900 * MiB, 1900 * MiB * 7 / 8 / 42},
      {3 * GiB, 3900 * MiB, 58567736},  // large-address-aware: fits uncapped
      {GiB, 0, 0},
  };
  for (const auto& c : cases) {
    const uint64_t chars = ram::ChunkChars(c.totalPhys, c.freeAddressSpace);
    EXPECT_EQ(chars, c.chars) << c.totalPhys << " / " << c.freeAddressSpace;
    EXPECT_LE(chars * 2 * ram::kReleaseSteps, c.freeAddressSpace);
  }
}

TEST_F(MemoryReleaseTest, RunsTwentyOneStepsWithProgressTextsAndEventsThenGivesAllBack) {
  int pumpsAtFirstStep = -1;
  fake.pump.at(fake.clock.now, [&] { pumpsAtFirstStep = fake.arena.held(); });
  Run();

  std::vector<std::string> expected = {"pointer busy",
                                       "text Label13=Freier Speicher voher: 12056,326171875 KB"};
  for (int p = 0; p <= 100; p += 5) {
    expected.push_back("bar " + std::to_string(p));
    expected.push_back(Step(p));
  }
  expected.insert(expected.end(),
                  {"bar 0", "text Label13=Speicher freigeräumt !", "pointer normal"});
  EXPECT_EQ(view.log, expected);
  EXPECT_EQ(view.value(kProgressBar1), 0);
  EXPECT_FALSE(view.busy);

  EXPECT_EQ(fake.pump.pumps, 21);
  EXPECT_EQ(pumpsAtFirstStep, 1);  // events run after the chunk of the step is taken
  EXPECT_EQ(fake.arena.requested, std::vector<std::size_t>(21, MiB));
  ASSERT_EQ(fake.arena.chunks.size(), 21u);
  for (const auto& chunk : fake.arena.chunks) {
    EXPECT_TRUE(chunk.released);
    EXPECT_TRUE(chunk.allBlanks);  // every character written
  }
  EXPECT_EQ(fake.arena.strayReleases, 0);
}

TEST_F(MemoryReleaseTest, TextsFollowTheNumberSettings) {
  fake.machine.settings = numfmt::NumberSettings::English();
  fake.machine.memory.availPhys = 1536;
  Run();
  EXPECT_EQ(view.log[1], "text Label13=Freier Speicher voher: 1.5 KB");
  EXPECT_EQ(Logged("text")[2], Step(5));
}

TEST_F(MemoryReleaseTest, AChunkThatCannotBeHadEndsTheLoop) {
  fake.arena.failAt = 7;
  Run();
  EXPECT_EQ(fake.arena.requested.size(), 8u);  // chunks 0 .. 6 and the refused one
  EXPECT_EQ(fake.arena.held(), 0);
  EXPECT_EQ(fake.pump.pumps, 7);
  const auto texts = Logged("text");
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(texts[7], Step(30));
  EXPECT_EQ(texts[8], "text Label13=Speicher freigeräumt !");
  const auto bars = Logged("bar");
  EXPECT_EQ(bars.back(), "bar 0");
  EXPECT_EQ(bars[bars.size() - 2], "bar 35");
  EXPECT_EQ(view.log.back(), "pointer normal");
}

TEST_F(MemoryReleaseTest, NoAddressSpaceClaimsNothing) {
  fake.machine.memory.availVirtual = 0;
  Run();
  EXPECT_TRUE(fake.arena.requested.empty());
  EXPECT_EQ(view.text(kLabel13), "Speicher freigeräumt !");
  EXPECT_FALSE(view.busy);
}

TEST_F(MemoryReleaseTest, AClickDuringTheLoopIsRefusedAndALaterOneRuns) {
  AppState state;
  Form1 form(view);
  Compose(form, view, fake.platform, state);
  int heldAtSecondClick = -1;
  fake.pump.at(fake.clock.now, [&] {
    form.OnClick(ids::Image(18));
    heldAtSecondClick = fake.arena.held();
  });
  form.OnClick(ids::Image(18));
  EXPECT_EQ(heldAtSecondClick, 1);
  EXPECT_EQ(fake.arena.requested.size(), 21u);
  EXPECT_EQ(Logged("pointer busy").size(), 1u);

  form.OnClick(ids::Image(18));
  EXPECT_EQ(fake.arena.requested.size(), 42u);
  EXPECT_EQ(fake.arena.held(), 0);
}

TEST_F(MemoryReleaseTest, ProgramEndingDuringTheLoopStopsIt) {
  fake.pump.ending = true;
  Run();
  EXPECT_EQ(fake.arena.requested.size(), 1u);
  EXPECT_EQ(fake.arena.held(), 0);
  EXPECT_FALSE(view.busy);
}
