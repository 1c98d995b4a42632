// The report's run: the boxes it leaves alone, a second click during a run, the program ending
// during one. (What each section prints and what a failure does are in the scenarios.)
#include "report/report.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using fakes::FakeView;

namespace {

constexpr const char* kPath = "c:\\SystemInfo.txt";

struct ReportTest : testing::Test {
  ReportTest() {
    for (int i = 0; i < 8; ++i)
      form.setFill(i, [this, i] {
        fills.push_back(i);
        fillTimes.push_back(p.clock.now);
      });
    p.files.disk[kPath] = "an earlier report";
  }
  void tickOnly(std::vector<int> checks, int otherValue = 0) {
    for (int n = 1; n <= 8; ++n)
      view.setValue(Check(n), std::count(checks.begin(), checks.end(), n) ? 1 : otherValue);
  }
  std::string file() { return p.files.disk.at(kPath); }
  std::vector<std::string> headers() {
    std::vector<std::string> found;
    const std::string text = file();
    for (size_t at = 0; (at = text.find("######", at)) != std::string::npos;) {
      const size_t end = text.find("\r\n", at);
      found.push_back(text.substr(at, end - at));
      at = end;
    }
    return found;
  }
  void expectWaitWindowCameAndWent() {
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "lade shown"), 1);
    EXPECT_FALSE(view.waitShown);
    EXPECT_EQ(p.files.unfinished, 0);
    EXPECT_FALSE(writer.running());
  }

  fakes::FakePlatform p;
  FakeView view;
  Form1 form{view};
  AppState state;
  Report::Writer writer{form, view, p.platform, state};
  std::vector<int> fills;
  std::vector<double> fillTimes;
};

}  // namespace

TEST_F(ReportTest, UntickedAndGreyedBoxesAreLeftOutAndKeepTheirValue) {
  for (int other : {0, 2}) {
    SCOPED_TRACE(other);
    fills.clear();
    tickOnly({1, 8}, other);
    writer.Image17_Click();
    EXPECT_EQ(fills, (std::vector<int>{0, 7}));
    EXPECT_EQ(headers(),
              (std::vector<std::string>{"###### Windows ######", "###### Sonstiges ######"}));
    for (int n = 2; n <= 7; ++n) EXPECT_EQ(view.value(Check(n)), other);
  }
}

TEST_F(ReportTest, SecondClickDuringARunIsRefused) {
  tickOnly({1, 2});
  // The user clicks "Daten Auswerten" again while the first section's pause pumps events.
  p.pump.at(p.clock.now + 0.1, [&] { form.OnClick(kImage17); });
  p.pump.step = 0.2;
  form.setButtonAction(17, [this] { writer.Image17_Click(); });
  writer.Image17_Click();
  EXPECT_EQ(p.files.creates, 1);
  EXPECT_EQ(fills, (std::vector<int>{0, 1}));
  EXPECT_EQ(view.messages.size(), 1u);
  writer.Image17_Click();  // once the run is over, the button works again
  EXPECT_EQ(p.files.creates, 2);
}

TEST_F(ReportTest, ProgramEndingDuringARunStopsItWithoutMessageAndKeepsTheEarlierReport) {
  tickOnly({1, 2, 3});
  p.pump.step = 0.1;
  p.pump.at(p.clock.now + 1.2, [&] { p.pump.ending = true; });  // during the second pause
  writer.Image17_Click();
  EXPECT_EQ(fills, (std::vector<int>{0, 1}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(file(), "an earlier report");
  expectWaitWindowCameAndWent();
}
