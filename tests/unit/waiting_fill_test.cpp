// What happens when the user acts while a fill waits for the management service: the window
// processes its events during the wait, so clicks run inside the waiting fill.
#include <gtest/gtest.h>

#include "collectors/cpu.h"
#include "collectors/grafik.h"
#include "collectors/wmi_regimes.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using namespace velkaro::fakes;

namespace {

constexpr const char* kCimV2 = "winmgmts:\\\\.\\root\\cimv2";
constexpr const char* kProcessorQuery = "Select * from Win32_Processor";

struct WaitingFill : testing::Test, ComposedForm<> {
  WaitingFill() {
    mgmt.addResult(kCimV2, Grafik::kVideoControllerQuery,
                   {{{{"VideoProcessor", WmiValue::Text("Rage 128")}}}});
    mgmt.addResult(kCimV2, Grafik::kSoundDeviceQuery, {{{{"Caption", WmiValue::Text("AC97")}}}});
    mgmt.addResult(kCimV2, kProcessorQuery, {{{{"Name", WmiValue::Text("Athlon")}}}});
  }
  int QueriesOf(const std::string& text) {
    int n = 0;
    for (const auto& q : mgmt.queries) n += q.text == text;
    return n;
  }
  FakeManagement& mgmt = fake.management;
};

}  // namespace

TEST_F(WaitingFill, ClicksDuringTheWaitShowTheLastPanelAndNoPanelFillsTwiceAtOnce) {
  // While the graphics fill waits for its first query, the user clicks its label again, the CPU
  // label and a tool button; while the CPU fill waits in turn, the graphics label once more.
  mgmt.duringWait = {{},
                     [&] {
                       form.Label3_Click();
                       form.Label8_Click();
                       form.OnClick(Image(8));
                     },
                     {},
                     [&] { form.Label3_Click(); }};
  form.Label3_Click();
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{1});  // the last click's panel
  EXPECT_EQ(QueriesOf(Grafik::kVideoControllerQuery), 1);
  EXPECT_EQ(QueriesOf(kProcessorQuery), 1);
  // Both fills completed their own fields.
  EXPECT_EQ(view.text(Text1(27)), "Rage 128");
  EXPECT_EQ(view.text(Text1(22)), "AC97");
  EXPECT_EQ(view.text(Text5(0)), "Athlon");
  ASSERT_EQ(fake.shell.started.size(), 1u);
  EXPECT_EQ(fake.shell.started[0].first, "control.exe");
  // Each fill's service work has its own deadline; the inner one counts inside it.
  for (const auto& q : mgmt.queries) {
    const std::vector<double> one{wmi::kFillServiceSeconds};
    const std::vector<double> nested{wmi::kFillServiceSeconds, wmi::kFillServiceSeconds};
    EXPECT_EQ(q.work, q.text == kProcessorQuery ? nested : one) << q.text;
  }
  EXPECT_TRUE(mgmt.work.empty());
  // Once the fill is over, its label fills again.
  form.Label3_Click();
  EXPECT_EQ(QueriesOf(Grafik::kVideoControllerQuery), 2);
}

TEST_F(WaitingFill, AReportStartedDuringTheWaitCopiesTheWaitingPanelAsItStands) {
  for (int n = 3; n <= 8; ++n) view.setValue(Check(n), 0);
  mgmt.duringWait = {{}, [&] {
                       form.Label10_Click();
                       form.OnClick(kImage17);
                     }};
  form.Label3_Click();
  // The report ran inside the wait: its graphics section found the fill under way and copied
  // the fields as they stood then; the fill went on afterwards.
  const std::string report = fake.files.disk.at("c:\\SystemInfo.txt");
  EXPECT_NE(report.find("\r\nGrafik:\t\t\t\t\tN/A\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("Betriebsystem:"), std::string::npos) << report;
  EXPECT_EQ(view.messages, std::vector<std::string>{"Alle Daten Ausgewertet!"});
  EXPECT_EQ(QueriesOf(Grafik::kVideoControllerQuery), 1);
  EXPECT_EQ(view.text(Text1(27)), "Rage 128");
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{8});
}
