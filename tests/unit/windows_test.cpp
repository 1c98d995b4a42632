#include "collectors/windows.h"

#include <gtest/gtest.h>

#include "program/compose.h"
#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using namespace std::string_literals;
using namespace velkaro::fakes;

namespace {

VersionRecord Version(uint32_t platform, uint32_t major, uint32_t minor, std::string sp = "",
                      uint8_t productType = 1, uint16_t suite = 0) {
  VersionRecord v;
  v.platformId = platform;
  v.major = major;
  v.minor = minor;
  v.servicePack = sp + std::string(128 - sp.size(), '\0');
  v.productType = productType;
  v.suiteMask = suite;
  return v;
}

struct OsCase {
  const char* name;
  VersionRecord version;
  std::string expected;
};

class OsNameTable : public testing::TestWithParam<OsCase> {};

}  // namespace

TEST_P(OsNameTable, DecidesByTheFirstMatchingRow) {
  EXPECT_EQ(Windows::OSNameFor(GetParam().version), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OsNameTable,
    testing::Values(
        OsCase{"Win32s", Version(0, 3, 11), "Win32s für Windows 3.11 or Windows 3.1"},
        OsCase{"Win95A", Version(1, 4, 0, " A "), "Windows 95 A"},
        OsCase{"Win95B", Version(1, 4, 0, "B"), "Windows 95 OSR2"},
        OsCase{"Win95C", Version(1, 4, 0, " C "), "Windows 95 OSR2"},
        OsCase{"Win95LowerC", Version(1, 4, 0, "c"), "Windows 95 OSR2"},
        OsCase{"Win95Plain", Version(1, 4, 0, ""), "Windows 95"},
        OsCase{"Win95Other", Version(1, 4, 0, "D"), "Windows 95"},
        OsCase{"Win98SE", Version(1, 4, 10, " A "), "Windows 98 SE"},
        OsCase{"Win98SELower", Version(1, 4, 10, " a "), "Windows 98 SE"},
        OsCase{"Win98", Version(1, 4, 10, ""), "Windows 98"},
        OsCase{"WinMe", Version(1, 4, 90, " "), "Windows ME"},
        OsCase{"NineXMinor3", Version(1, 4, 3), ""},
        OsCase{"NT351", Version(2, 3, 51), "Windows NT 3.5x51"},
        OsCase{"NT4Sp6Workstation", Version(2, 4, 0, "Service Pack 6", 1),
               "Windows NT 4.0 Workstation"},
        OsCase{"NT4Sp6Server", Version(2, 4, 0, "Service Pack 6", 3), "Windows NT 4.0 Server"},
        OsCase{"NT4Sp9DomainController", Version(2, 4, 0, "Service Pack 9 ", 2),
               "Windows NT 4.0 Server"},
        OsCase{"NT4Sp5", Version(2, 4, 0, "Service Pack 5", 3), "Windows NT 4.0"},
        OsCase{"NT4Sp6a", Version(2, 4, 0, "Service Pack 6a", 1), "Windows NT 4.0"},
        OsCase{"NT4NoSp", Version(2, 4, 0, "", 1), "Windows NT 4.0"},
        OsCase{"W2kPro", Version(2, 5, 0, "", 1, 0x0082), "Windows 2000 Professional"},
        OsCase{"W2kAdvanced", Version(2, 5, 0, "", 3, 0x0082), "Windows 2000 Advanced Server"},
        OsCase{"W2kDatacenter", Version(2, 5, 0, "", 3, 0x0080), "Windows 2000 Datacenter Server"},
        OsCase{"W2kServer", Version(2, 5, 0, "", 2, 0), "Windows 2000 Server"},
        OsCase{"XpHome", Version(2, 5, 1, "", 1, 0x0300), "Windows XP Home Edition"},
        OsCase{"XpPro", Version(2, 5, 1, "Service Pack 2", 1, 0x0100), "Windows XP Professional"},
        OsCase{"XpDomainController", Version(2, 5, 1, "", 2), "Neue, unbekannte Windows-Version"},
        OsCase{"W2003", Version(2, 5, 2, "Service Pack 2", 3), "Windows 2003 Server"},
        OsCase{"Xp64", Version(2, 5, 2, "Service Pack 2", 1), "Neue, unbekannte Windows-Version"},
        OsCase{"W2003DomainController", Version(2, 5, 2, "", 2),
               "Neue, unbekannte Windows-Version"},
        OsCase{"FivePointThree", Version(2, 5, 3), "Neue, unbekannte Windows-Version"},
        OsCase{"Vista", Version(2, 6, 0, "", 1), "Unbekannte Version"},
        OsCase{"Seven", Version(2, 6, 1, "Service Pack 1", 1), "Unbekannte Version"},
        OsCase{"Ten", Version(2, 10, 0), "Unbekannte Version"},
        OsCase{"NTMajor2", Version(2, 2, 0), "Unbekannte Version"},
        OsCase{"PlatformThree", Version(3, 10, 0), "Unbekannte Version"}),
    [](const testing::TestParamInfo<OsCase>& info) { return info.param.name; });

TEST(OsName, ServicePackTextEndsAtItsNulAndMayFillTheWholeField) {
  VersionRecord v = Version(2, 4, 0, "", 3);
  v.servicePack = "Service Pack 5\0Service Pack 6"s;
  v.servicePack.resize(128, '\0');
  EXPECT_EQ(Windows::OSNameFor(v), "Windows NT 4.0");
  v.servicePack = std::string(127, ' ') + "7";  // no NUL at all
  EXPECT_EQ(Windows::OSNameFor(v), "Windows NT 4.0 Server");
}

TEST(OsName, FallsBackToThePlainRecordWhoseMissingFieldsReadAsZero) {
  FakeSystem system;
  system.versions[156] = Version(2, 5, 2, "", 3);
  EXPECT_EQ(Windows::GetOSName(system), "Windows 2003 Server");
  EXPECT_EQ(system.versionCalls, std::vector<uint32_t>{156});

  system.versions.clear();
  system.versionCalls.clear();
  system.versions[148] = Version(2, 5, 1, "", 1, 0x0200);  // fields a plain record lacks
  EXPECT_EQ(Windows::GetOSName(system), "Neue, unbekannte Windows-Version");
  EXPECT_EQ(system.versionCalls, (std::vector<uint32_t>{156, 148}));

  system.versions.clear();
  EXPECT_EQ(Windows::GetOSName(system), "");
}

TEST(Folders, AreClosedByExactlyOneBackslash) {
  FakeSystem system;
  system.windowsDir = "C:\\WINNT";
  system.systemDir = "C:\\WINNT\\system32";
  EXPECT_EQ(Windows::GetWindowsPath(system), "C:\\WINNT\\");
  EXPECT_EQ(Windows::GetSystemPath(system), "C:\\WINNT\\system32\\");
  system.windowsDir = "D:\\";
  EXPECT_EQ(Windows::GetWindowsPath(system), "D:\\");
  system.systemDir = "";
  EXPECT_EQ(Windows::GetSystemPath(system), "\\");
}

TEST(User, NameEndsAtTheFirstNulAndAFailedCallLeavesTheBlanks) {
  FakeSystem system;
  system.user = "Erika\0"s + std::string(250, ' ');
  EXPECT_EQ(Windows::GetLoggedOnUser(system), "Erika");
  EXPECT_EQ(system.userNameBuffer, 256u);
  system.user = std::nullopt;
  EXPECT_EQ(Windows::GetLoggedOnUser(system), std::string(256, ' '));

  system.admin = true;
  EXPECT_EQ(Windows::GetAdminRole(system), "Administrator");
  system.admin = false;
  EXPECT_EQ(Windows::GetAdminRole(system), "User");
  system.admin = std::nullopt;  // IsNTAdmin not available
  EXPECT_EQ(Windows::GetAdminRole(system), "User");
}

namespace {

struct WindowsFillTest : testing::Test {
  WindowsFillTest() {
    const std::string key = Windows::kCurrentVersionKey;
    registry.putString(RootKey::LocalMachine, key, "CSDVersion", "Service Pack 2");
    registry.putString(RootKey::LocalMachine, key, "CurrentBuildNumber", "3790");
    registry.putString(RootKey::LocalMachine, key, "ProductId", "12345-OEM-1");
    registry.putString(RootKey::LocalMachine, key, "RegisteredOwner", "Erika Muster");
    registry.putString(RootKey::LocalMachine, key, "RegisteredOrganization", "Müller & Söhne");
    registry.putString(RootKey::LocalMachine, key, "CurrentVersion", "5.2");
    system.versions[156] = Version(2, 5, 2, "Service Pack 2", 3);
    system.user = "Erika\0"s;
  }
  void WmiAvailable() {
    mgmt.addNamespace("winmgmts:");
    mgmt.addObject(Windows::kIdentificationMoniker,
                   {{"versionusedtocreatedb", WmiValue::Text("5.2.3790.3959")}});
  }
  FakePlatform fakes;
  FakeRegistry& registry = fakes.registry;
  FakeSystem& system = fakes.system;
  FakeManagement& mgmt = fakes.management;
  Platform& platform = fakes.platform;
  FakeView view;
};

}  // namespace

TEST_F(WindowsFillTest, WritesEveryFieldInOrder) {
  WmiAvailable();
  Windows::Fill(platform, view);
  const std::vector<std::string> expected = {
      "text Text1(10)=5.2.3790.3959",
      "text Text1(9)=WMI ist installiert!",
      "text Text1(0)=Windows 2003 Server",
      "text Text1(1)=Service Pack 2",
      "text Text1(2)=3790",
      "text Text1(3)=C:\\WINDOWS\\",
      "text Text1(5)=12345-OEM-1",
      "text Text1(6)=Erika Muster",
      "text Text1(7)=Müller & Söhne",
      "text Text1(8)=Erika (Administrator)",
      "text Text1(11)=5.2",
      "text Text1(12)=C:\\WINDOWS\\system32\\",
      "text Text1(13)=",
  };
  EXPECT_EQ(view.log, expected);
  EXPECT_EQ(view.text(Text1(4)), "N/A");  // the uptime is not this fill's
}

TEST_F(WindowsFillTest, UnreadableRegistryValuesLeaveTheirFieldsEmpty) {
  registry.put(RootKey::LocalMachine, Windows::kCurrentVersionKey, "RegisteredOwner",
               RegData{regtype::kDword, "\x01\0\0\0"s});
  Windows::Fill(platform, view);
  EXPECT_EQ(view.text(Text1(6)), "");
  EXPECT_EQ(view.text(Text1(13)), "");
}

TEST_F(WindowsFillTest, VersionObjectFailingKeepsTheVersionFieldAndStillWritesTheStatus) {
  mgmt.addNamespace("winmgmts:");
  view.setText(Text1(10), "4.0");
  Windows::Fill(platform, view);
  EXPECT_EQ(view.text(Text1(10)), "4.0");
  EXPECT_EQ(view.text(Text1(9)), "WMI ist installiert!");

  // A version object whose property cannot be read behaves the same.
  mgmt.addObject(Windows::kIdentificationMoniker, {});
  Windows::Fill(platform, view);
  EXPECT_EQ(view.text(Text1(10)), "4.0");
}

TEST_F(WindowsFillTest, WithoutAnyServiceTheStatusSaysNotInstalledAndTheRestFills) {
  Windows::Fill(platform, view);
  EXPECT_EQ(view.text(Text1(10)), "N/A");
  EXPECT_EQ(view.text(Text1(9)), "WMI ist nicht installiert!");
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(view.text(Text1(13)), "");
  EXPECT_EQ(mgmt.connects,
            (std::vector<std::string>{Windows::kIdentificationMoniker, "winmgmts:"}));
}

TEST_F(WindowsFillTest, TheWindowsMenuRunsTheFillAtLoadAndOnEveryClick) {
  WmiAvailable();
  Form1 form(view);
  AppState state;
  Compose(form, view, platform, state);
  form.Form_Load();
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(view.text(Text1(6)), "Erika Muster");

  registry.putString(RootKey::LocalMachine, Windows::kCurrentVersionKey, "RegisteredOwner",
                     "Max Mustermann");
  view.setText(Text1(0), "typed by the user");
  form.Label8_Click();
  form.Label2_Click();
  EXPECT_EQ(view.text(Text1(6)), "Max Mustermann");
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{0});
}
