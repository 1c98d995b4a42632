// The menu labels of the Computer, Arbeitsspeicher, Laufwerke, CPU and Sonstiges panels show
// their panel and run its fill on every click.
#include <gtest/gtest.h>

#include "fakes/fake_form.h"

using namespace velkaro;
using namespace velkaro::ids;

TEST(PanelMenus, EachClickShowsThePanelAndFillsItAgain) {
  fakes::ComposedForm<> window;
  auto& [fakes, view, state, form] = window;
  const char* cimv2 = "winmgmts:\\\\.\\root\\cimv2";
  fakes.management.addResult(cimv2, "Select * from Win32_LogicalDisk",
                             {{{{"DeviceID", WmiValue::Text("C:")}}}});
  fakes.management.addResult(cimv2, "Select * from Win32_Processor",
                             {{{{"Name", WmiValue::Text("Wine")}}}});
  fakes.registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", "3.0.06");

  struct Menu {
    void (Form1::*click)();
    int panel;
    int field;  // a field the fill writes
    const char* text;
  } menus[] = {
      {&Form1::Label5_Click, 3, Text1(40), "Accu Voll"},
      {&Form1::Label6_Click, 4, Text1(58), "7 %"},
      {&Form1::Label7_Click, 5, List1(0), "DeviceID: C:"},
      {&Form1::Label8_Click, 6, Text5(0), "Wine"},
      {&Form1::Label9_Click, 7, Text5(13), "3.0.06"},
  };
  fakes.machine.power.batteryFlag = 1;
  fakes.machine.memory.memoryLoad = 7;
  for (const Menu& m : menus) {
    for (int round = 0; round < 2; ++round) {
      if (m.field == List1(0))
        view.clearItems(m.field);
      else
        view.setText(m.field, "typed");
      (form.*m.click)();
      EXPECT_EQ(view.visiblePanels(), std::vector<int>{m.panel});
      const std::string shown =
          m.field == List1(0) ? view.control(m.field).items.at(0) : view.text(m.field);
      EXPECT_EQ(shown, m.text) << m.panel << " round " << round;
    }
  }
  EXPECT_EQ(state.LaufwerkAnzahl, 6);
  EXPECT_EQ(fakes.machine.memoryCalls, 14);  // seven figures, each read anew, twice
}
