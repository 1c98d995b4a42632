#include "collectors/laufwerke.h"

#include <gtest/gtest.h>

#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using fakes::Properties;
using ids::List1;

namespace {

constexpr const char* kCimV2 = "winmgmts:\\\\.\\root\\cimv2";
constexpr const char* kQuery = "Select * from Win32_LogicalDisk";

Properties Drive(const std::string& id, const char* size = "1048576", const char* free = "0") {
  Properties p{{"DeviceID", WmiValue::Text(id)},
               {"FileSystem", WmiValue::Text("NTFS")},
               {"Description", WmiValue::Text("Lokale Festplatte")}};
  if (size) p["Size"] = WmiValue::Text(size);
  if (free) p["FreeSpace"] = WmiValue::Text(free);
  return p;
}

std::vector<Properties> Drives(int n) {
  std::vector<Properties> drives;
  for (int k = 0; k < n; ++k) drives.push_back(Drive("D" + std::to_string(k) + ":"));
  return drives;
}

struct LaufwerkeTest : testing::Test {
  void Fill(std::vector<Properties> drives) {
    fakes::FakeManagement management;
    management.addResult(kCimV2, kQuery, {std::move(drives)});
    Laufwerke::ReadDriveInfo(management, machine, view, state);
  }
  std::vector<std::string> Items(int list) { return view.control(List1(list)).items; }
  fakes::FakeMachine machine;
  fakes::FakeView view;
  AppState state;
};

}  // namespace

TEST(DriveFigures, KilobytesAreRoundedAndGroupedByTheLocale) {
  const auto de = numfmt::NumberSettings::German();
  const auto en = numfmt::NumberSettings::English();
  struct Case {
    std::optional<WmiValue> bytes;
    std::optional<std::string> german, english;
  } cases[] = {
      {WmiValue::Text("1048576"), "1.024", "1,024"},
      {WmiValue::Text("1000"), "1", "1"},
      {WmiValue::Text("0"), "0", "0"},
      {WmiValue::Text("1536"), "2", "2"},  // 1.5: a half goes to the even neighbour
      {WmiValue::Text("2560"), "2", "2"},
      {WmiValue::Text("18446744073709551615"), "18.014.398.509.481.984", "18,014,398,509,481,984"},
      {WmiValue::Integer(500107862016), "488.386.584", "488,386,584"},
      {WmiValue::Text("18446744073709551616"), std::nullopt, std::nullopt},
      {WmiValue::Text("-5"), std::nullopt, std::nullopt},
      {WmiValue::Text(""), std::nullopt, std::nullopt},
      {WmiValue::Null(), std::nullopt, std::nullopt},
      {std::nullopt, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Laufwerke::KilobyteFigure(c.bytes, de), c.german);
    EXPECT_EQ(Laufwerke::KilobyteFigure(c.bytes, en), c.english);
  }
}

TEST_F(LaufwerkeTest, TwoDrivesFillTwoListsAndTwelveTableLines) {
  Properties cd = Drive("D:", "654311424", "0");
  cd["FileSystem"] = WmiValue::Null();
  cd.erase("Description");  // a property the service does not deliver
  Fill({Drive("C:"), cd});
  EXPECT_EQ(Items(0), (std::vector<std::string>{"DeviceID: C:", "FileSystem: NTFS",
                                                "Description: Lokale Festplatte",
                                                "Size (KB): 1.024", "FreeSpace (KB): 0"}));
  EXPECT_EQ(Items(1), (std::vector<std::string>{"DeviceID: D:", "FileSystem: ", "Description: ",
                                                "Size (KB): 638.976", "FreeSpace (KB): 0"}));
  for (int list = 2; list < 9; ++list) EXPECT_TRUE(Items(list).empty());
  EXPECT_EQ(state.LaufwerkAnzahl, 12);
  const std::vector<std::string> table(state.LaufwerkZeilen.begin(),
                                       state.LaufwerkZeilen.begin() + 13);
  EXPECT_EQ(table, (std::vector<std::string>{"", "DeviceID: \t\t\t\tC:", "FileSystem: \t\t\t\tNTFS",
                                             "Description: \t\t\t\tLokale Festplatte",
                                             "Size (KB): \t\t\t\t1.024", "FreeSpace (KB): \t\t\t0",
                                             "", "DeviceID: \t\t\t\tD:", "FileSystem: \t\t\t\t",
                                             "Description: \t\t\t\t", "Size (KB): \t\t\t\t638.976",
                                             "FreeSpace (KB): \t\t\t0", ""}));
}

TEST_F(LaufwerkeTest, ADriveWithoutSizeWritesItsLinesWithoutValueOverAnOldFill) {
  Fill(Drives(2));
  Fill({Drive("C:"), Drive("E:", nullptr, nullptr)});
  EXPECT_EQ(Items(1)[3], "Size (KB): ");
  EXPECT_EQ(Items(1)[4], "FreeSpace (KB): ");
  EXPECT_EQ(state.LaufwerkZeilen[10], "Size (KB): \t\t\t\t");
  EXPECT_EQ(state.LaufwerkZeilen[11], "FreeSpace (KB): \t\t\t");
}

TEST_F(LaufwerkeTest, TenAndThirtyFourDrivesFillNineListsAndTheTableUpToEntry200) {
  Fill(Drives(10));
  for (int list = 0; list < 9; ++list)
    EXPECT_EQ(Items(list).front(), "DeviceID: D" + std::to_string(list) + ":");
  EXPECT_EQ(state.LaufwerkAnzahl, 60);
  EXPECT_EQ(state.LaufwerkZeilen[55], "DeviceID: \t\t\t\tD9:");

  Fill(Drives(34));
  EXPECT_EQ(state.LaufwerkAnzahl, 204);  // counted on beyond the table
  EXPECT_EQ(state.LaufwerkZeilen[193], "DeviceID: \t\t\t\tD32:");
  EXPECT_EQ(state.LaufwerkZeilen[197], "FreeSpace (KB): \t\t\t0");
  EXPECT_EQ(state.LaufwerkZeilen[198], "");
  EXPECT_EQ(state.LaufwerkZeilen[199], "DeviceID: \t\t\t\tD33:");
  EXPECT_EQ(state.LaufwerkZeilen[200], "FileSystem: \t\t\t\tNTFS");
  EXPECT_EQ(Items(8).size(), 5u);
}

TEST_F(LaufwerkeTest, AFillWithFewerDrivesLowersTheCountAndKeepsHigherEntries) {
  Fill(Drives(3));
  Fill({Drive("X:")});
  EXPECT_EQ(state.LaufwerkAnzahl, 6);
  EXPECT_EQ(state.LaufwerkZeilen[1], "DeviceID: \t\t\t\tX:");
  EXPECT_EQ(state.LaufwerkZeilen[13], "DeviceID: \t\t\t\tD2:");  // not printed any more
  EXPECT_EQ(Items(0).front(), "DeviceID: X:");
  EXPECT_TRUE(Items(1).empty());
  EXPECT_TRUE(Items(2).empty());

  Fill({});
  EXPECT_EQ(state.LaufwerkAnzahl, 0);
  EXPECT_TRUE(Items(0).empty());
}

TEST_F(LaufwerkeTest, WithoutTheServiceTheListsEmptyTheTableStaysAndTheCountIsZero) {
  Fill(Drives(2));
  fakes::FakeManagement none;
  Laufwerke::ReadDriveInfo(none, machine, view, state);
  EXPECT_EQ(state.LaufwerkAnzahl, 0);
  EXPECT_TRUE(Items(0).empty());
  EXPECT_EQ(state.LaufwerkZeilen[7], "DeviceID: \t\t\t\tD1:");

  // A walk that breaks off after one drive keeps what was delivered.
  fakes::FakeManagement broken;
  broken.addResult(kCimV2, kQuery, {Drives(3), 1});
  Laufwerke::ReadDriveInfo(broken, machine, view, state);
  EXPECT_EQ(state.LaufwerkAnzahl, 6);
  EXPECT_EQ(Items(0).size(), 5u);
  EXPECT_EQ(broken.queries.at(0).flags, 48);
}
