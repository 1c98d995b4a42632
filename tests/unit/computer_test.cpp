#include "collectors/computer.h"

#include <gtest/gtest.h>

#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using fakes::Properties;
using ids::Text1;

namespace {

const auto kDe = numfmt::NumberSettings::German();
const auto kEn = numfmt::NumberSettings::English();
constexpr const char* kCimV2 = "winmgmts:\\\\.\\root\\cimv2";

struct ComputerTest : testing::Test {
  void Result(const char* query, std::vector<Properties> objects) {
    fakes.management.addResult(kCimV2, query, {std::move(objects)});
  }
  // Rows 11 and 12 after a fill with these codes, both starting as "alt".
  std::pair<std::string, std::string> PowerRows(uint8_t ac, uint8_t flag) {
    view.setText(Text1(38), "alt");
    view.setText(Text1(40), "alt");
    fakes.machine.power.acLineStatus = ac;
    fakes.machine.power.batteryFlag = flag;
    Computer::ReadProductAndPower(fakes.management, fakes.machine, view);
    return {view.text(Text1(38)), view.text(Text1(40))};
  }
  fakes::FakePlatform fakes;
  fakes::FakeView view;
};

WmiValue T(const char* s) {
  return WmiValue::Text(s);
}

}  // namespace

TEST_F(ComputerTest, PowerSourceAndBatteryTablesRowByRow) {
  struct Case {
    uint8_t ac, flag;
    const char* source;
    const char* battery;
  } cases[] = {
      {0, 1, "Accu Stromversorgung", "Accu Voll"},
      {1, 2, "220 V Stromversorgung", "Accu Leer"},
      {0, 0, "Accu Stromversorgung", "AccU Halbvoll"},
      {255, 4, "Unbekannte Stromversorgung", "!! Warnung Accu Sofort Laden !!"},
      {0, 128, "220 V Stromversorgung", "Kein Accu gefunden."},  // row 11 written again
      {255, 128, "220 V Stromversorgung", "Kein Accu gefunden."},
      {2, 255, "alt", "Unbekannter Fehler."},
      {1, 8, "220 V Stromversorgung", "alt"},  // charging: no change
      {1, 9, "220 V Stromversorgung", "alt"},
      {0, 10, "Accu Stromversorgung", "alt"},
      {254, 12, "alt", "alt"},
      {3, 3, "alt", "alt"},
  };
  for (const Case& c : cases) {
    const auto rows = PowerRows(c.ac, c.flag);
    EXPECT_EQ(rows.first, c.source) << int(c.ac) << "/" << int(c.flag);
    EXPECT_EQ(rows.second, c.battery) << int(c.ac) << "/" << int(c.flag);
  }
}

TEST(ComputerTexts, PercentAndHoursUnderGermanAndEnglishSettings) {
  struct Case {
    uint8_t percent;
    const char* text;
  } percents[] = {{100, "100 %"}, {57, "57 %"}, {255, "0 %"}, {0, " %"}, {1, "1 %"}};
  for (const auto& c : percents) {
    EXPECT_EQ(Computer::PercentText(c.percent, kDe), c.text);
    EXPECT_EQ(Computer::PercentText(c.percent, kEn), c.text);
  }
  struct Hours {
    uint32_t seconds;
    const char* german;
    const char* english;
  } hours[] = {
      {5400, "1,5 Hours", "1.5 Hours"},
      {0, "0,0 Hours", "0.0 Hours"},
      {0xFFFFFFFF, "0,0 Hours", "0.0 Hours"},  // unknown: -1 s, no minus sign before zero
      {36000, "10,0 Hours", "10.0 Hours"},
      {4 * 3600 + 1000, "4,3 Hours", "4.3 Hours"},
      {static_cast<uint32_t>(-7200), "-2,0 Hours", "-2.0 Hours"},
  };
  for (const auto& c : hours) {
    EXPECT_EQ(Computer::HoursText(c.seconds, kDe), c.german) << c.seconds;
    EXPECT_EQ(Computer::HoursText(c.seconds, kEn), c.english) << c.seconds;
  }
}

TEST_F(ComputerTest, FillWritesBoardBiosProductAndPowerInOrderLastObjectWinning) {
  Result("Select * from Win32_BaseBoard",
         {{{"Product", T("P5K")}, {"Version", T("Rev 1")}, {"SerialNumber", T("S1")}},
          {{"Product", T("D945")}, {"Version", WmiValue::Null()}, {"SerialNumber", T("S2")}}});
  Result("Select * from Win32_BIOS", {{{"Description", T("Phoenix")},
                                       {"Version", T("INTEL - 6040000")},
                                       {"BuildNumber", WmiValue::Integer(17)},
                                       {"releasedate", T("20071231000000.000000+000")}}});
  Result("Select * from Win32_ComputerSystemProduct",
         {{{"Caption", T("Computer System Product")}, {"Name", T("Wine")}, {"Version", T("1.0")}}});
  fakes.machine.power = {1, 128, 255, 0xFFFFFFFF, 0xFFFFFFFF};
  Computer::Fill(fakes.platform, view);
  // The second board's null version keeps the first one's (no second Text1(45)).
  EXPECT_EQ(view.log,
            (std::vector<std::string>{
                "text Text1(46)=P5K", "text Text1(45)=Rev 1", "text Text1(44)=S1",
                "text Text1(46)=D945", "text Text1(44)=S2", "text Text1(42)=Phoenix",
                "text Text1(43)=INTEL - 6040000", "text Text1(51)=17", "text Text1(41)=31.12.2007",
                "text Text1(48)=Computer System Product", "text Text1(39)=Wine",
                "text Text1(47)=1.0", "text Text1(50)=0 %", "text Text1(37)=0,0 Hours",
                "text Text1(49)=0,0 Hours", "text Text1(38)=220 V Stromversorgung",
                "text Text1(40)=Kein Accu gefunden.", "text Text1(38)=220 V Stromversorgung"}));
  EXPECT_EQ(fakes.management.queries.at(0).flags, 48);
}

TEST_F(ComputerTest, BiosDateIsSlicedAndANullDateKeepsThePreviousParts) {
  struct Case {
    std::vector<std::optional<WmiValue>> dates;  // one BIOS object each; nullopt: missing
    const char* row9;
  } cases[] = {
      {{T("20120608000000.000000+000")}, "08.06.2012"},
      {{T("19990315")}, "15.03.1999"},
      {{T("200107")}, ".07.2001"},  // a shorter text gives what exists
      {{WmiValue::Null()}, ".."},
      {{std::nullopt}, ".."},
      {{T("20050101000000.000000+060"), WmiValue::Null()}, "01.01.2005"},
      {{WmiValue::Null(), T("20100230")}, "30.02.2010"},
  };
  for (const auto& c : cases) {
    std::vector<Properties> objects;
    for (const auto& date : c.dates) {
      Properties p{{"Description", T("BIOS")}};
      if (date) p["releasedate"] = *date;
      objects.push_back(p);
    }
    fakes::FakeManagement management;
    management.addResult(kCimV2, "Select * from Win32_BIOS", {objects});
    Computer::ReadBios(management, view);
    EXPECT_EQ(view.text(Text1(41)), c.row9);
  }
}

TEST_F(ComputerTest, QueryOrBindingFailuresLeaveTheirRowsWhilePowerRowsFill) {
  fakes.management.addNamespace(kCimV2);  // bindable, but every query fails
  fakes.machine.power = {0, 0, 40, 5400, 36000};
  fakes.machine.settings = kEn;
  Computer::Fill(fakes.platform, view);
  for (int row : {46, 45, 44, 43, 42, 41, 51, 48, 39, 47}) EXPECT_EQ(view.text(Text1(row)), "N/A");
  EXPECT_EQ(view.log,
            (std::vector<std::string>{
                "text Text1(50)=40 %", "text Text1(37)=10.0 Hours", "text Text1(49)=1.5 Hours",
                "text Text1(38)=Accu Stromversorgung", "text Text1(40)=AccU Halbvoll"}));
  // An empty result or no service at all leave the rows too.
  Result("Select * from Win32_BaseBoard", {});
  Computer::ReadBaseBoard(fakes.management, view);
  fakes::FakeManagement none;
  Computer::ReadBios(none, view);
  EXPECT_EQ(view.log.size(), 5u);
}
