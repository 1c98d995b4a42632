#include "app/layout.h"

#include <set>

#include <gtest/gtest.h>

using namespace velkaro;
using namespace velkaro::ids;

TEST(Layout, IdsAndNamesAreUniqueAndParentsAreContainers) {
  std::set<int> seen;
  std::set<std::string> names;
  for (const auto& c : Form1Controls()) {
    EXPECT_TRUE(seen.insert(c.id).second) << c.name;
    EXPECT_TRUE(names.insert(c.name).second) << c.name;
    if (c.parent != kForm) {
      const ControlSpec* parent = FindControl(c.parent);
      ASSERT_NE(parent, nullptr) << c.name;
      EXPECT_TRUE(parent->kind == ControlKind::Panel || parent->kind == ControlKind::Frame)
          << c.name;
      // Every control lies inside its container.
      EXPECT_LE(c.left + c.width, parent->width) << c.name;
      EXPECT_LE(c.top + c.height, parent->height) << c.name;
    } else {
      EXPECT_LE(c.left + c.width, layout::kFormWidth) << c.name;
      EXPECT_LE(c.top + c.height, layout::kFormHeight) << c.name;
    }
    EXPECT_EQ(FindControl(c.name), &c);
  }
}

TEST(Layout, EveryValueFieldExistsOnceInAPanelWithTheDesignText) {
  for (int j = 0; j < kText1Count; ++j) {
    const ControlSpec* c = FindControl(Text1(j));
    ASSERT_NE(c, nullptr) << j;
    EXPECT_EQ(c->name, "Text1(" + std::to_string(j) + ")");
    EXPECT_EQ(c->caption, "N/A");
    EXPECT_EQ(c->kind, ControlKind::TextBox);
    EXPECT_EQ(FindControl(c->parent)->kind, ControlKind::Panel);
  }
  for (int j = 0; j < kText5Count; ++j) {
    const ControlSpec* c = FindControl(Text5(j));
    ASSERT_NE(c, nullptr) << j;
    EXPECT_EQ(c->parent, j <= 10 ? P1(6) : P1(7));
  }
}

TEST(Layout, RowsPairCaptionAndValueOnTheSameLine) {
  // Rows whose caption index differs from their value index.
  const std::pair<int, int> pairs[] = {{10, 8},  {8, 9},   {9, 10},  {18, 20}, {20, 19}, {19, 18},
                                       {35, 34}, {34, 35}, {38, 39}, {39, 41}, {41, 38}};
  for (const auto& [caption, value] : pairs) {
    const ControlSpec* l = FindControl(Label11(caption));
    const ControlSpec* t = FindControl(Text1(value));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->top, t->top) << l->caption;
    EXPECT_EQ(l->parent, t->parent) << l->caption;
  }
  EXPECT_EQ(FindControl(Label11(10))->caption, "Angemeldeter User:");
  EXPECT_EQ(FindControl(Label11(2))->caption, "Bulid:");
  EXPECT_EQ(FindControl(Label11(6))->caption, "Regestrierter Benutzer:");
  EXPECT_EQ(FindControl(Label11(56))->caption, "Max. größe der Auslagerungsdatei:");
  EXPECT_EQ(FindControl(Label11(61))->caption, "Processoer Modell");
  EXPECT_EQ(FindControl(Text1(13))->top, 3840);
  EXPECT_EQ(FindControl(Text1(52))->left, 3240);
  EXPECT_EQ(FindControl(Text5(0))->left, 2040);
  EXPECT_EQ(FindControl(Text5(11))->left, 2400);
}

TEST(Layout, MenuLabelsSitInTheMenuBarLeftToRight) {
  int right = 0;
  for (const auto& m : kMenu) {
    const ControlSpec* l = FindControl(Label(m.label));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->parent, kFrame1);
    EXPECT_EQ(l->caption, m.caption);
    EXPECT_EQ(l->top, 195);
    EXPECT_EQ(l->fore, colors::kMenuIdle);
    EXPECT_EQ(l->align, TextAlign::Center);
    EXPECT_GE(l->left, right);
    right = l->left + l->width;
  }
  EXPECT_EQ(FindControl(Label(10))->caption, "Menu");
}

TEST(Layout, StartStateOfPanelsCloseButtonAndReportOptions) {
  for (int p = 0; p < kPanelCount; ++p) EXPECT_EQ(FindControl(P1(p))->visible, p == 0);
  EXPECT_TRUE(FindControl(kImage1)->visible);
  EXPECT_FALSE(FindControl(kImage2)->visible);
  EXPECT_EQ(FindControl(kUhrdate)->caption, "00.00.0000  |  00:00:00");
  for (int n = 1; n <= 8; ++n) {
    const ControlSpec* c = FindControl(Check(n));
    EXPECT_EQ(c->top, 840 + 360 * (n - 1));
    EXPECT_EQ(c->caption, kCheckCaptions[n - 1]);
  }
  int tooltips = 0;
  for (const auto& c : Form1Controls()) tooltips += !c.tooltip.empty();
  EXPECT_EQ(tooltips, 16);
  EXPECT_EQ(FindControl(Image(18))->tooltip, "Arbeitsspeicher frei geben.");
  EXPECT_EQ(FindControl(Image(16))->parent, P1(2));
}

TEST(Layout, DriveListsFillColumnByColumn) {
  EXPECT_EQ(FindControl(List1(1))->left, 240);
  EXPECT_EQ(FindControl(List1(1))->top, 1800);
  EXPECT_EQ(FindControl(List1(3))->left, 3360);
  EXPECT_EQ(FindControl(List1(3))->top, 360);
  EXPECT_EQ(FindControl(List1(8))->left, 6435);
  EXPECT_EQ(FindControl(List1(8))->top, 3240);
  EXPECT_EQ(FindControl(List1(0))->back, colors::kDriveList);
}

TEST(Layout, TwipsBecomePixelsAtTheMonitorsDpi) {
  EXPECT_EQ(TwipsToPixels(layout::kFormWidth, 96), 809);
  EXPECT_EQ(TwipsToPixels(layout::kFormHeight, 96), 387);
  EXPECT_EQ(TwipsToPixels(layout::kSplashWidth, 96), 400);
  EXPECT_EQ(TwipsToPixels(layout::kSplashHeight, 96), 300);
  EXPECT_EQ(TwipsToPixels(layout::kSplashWidth, 144), 600);
  EXPECT_EQ(TwipsToPixels(225, 96), 15);
  EXPECT_EQ(TwipsToPixels(11830, 96), 789);  // 788.67 rounds up
  EXPECT_EQ(TwipsToPixels(11830, 120), 986);
  EXPECT_EQ(TwipsToPixels(0, 192), 0);
}
