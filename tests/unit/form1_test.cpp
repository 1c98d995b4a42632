#include "app/form1.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using fakes::FakeView;

namespace {

struct Form1Test : testing::Test {
  Form1Test() {
    for (int i = 0; i < 9; ++i) {
      form.setFill(i, [this, i] {
        ++fills[i];
        // The panel is already visible while its fields fill.
        visibleDuringFill[i] = view.isVisible(P1(kMenu[i].panel));
      });
    }
  }
  FakeView view;
  Form1 form{view};
  int fills[9] = {};
  bool visibleDuringFill[9] = {};
};

}  // namespace

TEST_F(Form1Test, EachMenuLabelShowsOnlyItsPanelAndRunsItsFillOnce) {
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(kMenu[i].caption);
    std::fill(std::begin(fills), std::end(fills), 0);
    form.OnClick(Label(kMenu[i].label));
    EXPECT_EQ(view.visiblePanels(), std::vector<int>{kMenu[i].panel});
    for (int k = 0; k < 9; ++k) EXPECT_EQ(fills[k], k == i ? 1 : 0);
    EXPECT_TRUE(visibleDuringFill[i]);
  }
  Form1 bare(view);  // no fill set: the label only switches the panel
  bare.Label10_Click();
  bare.Label8_Click();
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{6});
}

TEST_F(Form1Test, ButtonsTimerAndUnloadRunTheirActionsAndAFailingOneIsContained) {
  std::vector<int> clicked;
  for (int n : {3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19})
    form.setButtonAction(n, [&clicked, n] { clicked.push_back(n); });
  form.OnClick(Image(4));
  form.OnClick(Image(17));
  form.OnClick(kImage10);  // the drag strip has no click action
  EXPECT_EQ(clicked, (std::vector<int>{4, 17}));

  form.setFill(2, [this] {
    view.setText(Text1(14), "first field written");
    throw std::runtime_error("collector failed");
  });
  EXPECT_NO_THROW(form.Label4_Click());
  EXPECT_EQ(view.text(Text1(14)), "first field written");
  EXPECT_EQ(view.text(Text1(34)), "N/A");
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{2});

  int ticks = 0;  // the timer runs its action once one is set
  form.Timer1_Timer();
  form.setTimerAction([&] { ++ticks; });
  form.Timer1_Timer();
  form.Timer1_Timer();
  EXPECT_EQ(ticks, 2);

  // The session's end: every unload action, a failing one too, and then the program's end.
  std::vector<int> unloaded;
  form.addUnloadAction([&] {
    unloaded.push_back(1);
    throw std::runtime_error("drop failed");
  });
  form.addUnloadAction([&] {
    EXPECT_EQ(view.ends, 0);
    unloaded.push_back(2);
  });
  EXPECT_NO_THROW(form.Form_Unload());
  EXPECT_EQ(unloaded, (std::vector<int>{1, 2}));
  EXPECT_EQ(view.ends, 1);
}

TEST(Form1MouseRouting, OnlyControlsWithMouseActionsTakeTheMouse) {
  for (int n = 2; n <= 10; ++n) EXPECT_TRUE(Form1::HandlesMouse(Label(n))) << n;
  for (int n : {1, 2, 10, 3, 9, 11, 17, 18, 19}) EXPECT_TRUE(Form1::HandlesMouse(Image(n))) << n;
  for (int id : {kLabel1, kUhrdate, Label11(0), Text1(0), P1(0), kFrame1, Check(1), kLabel13})
    EXPECT_FALSE(Form1::HandlesMouse(id)) << id;
}
