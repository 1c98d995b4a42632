#include "collectors/windows_system.h"

#include <gtest/gtest.h>

#include "fakes/fake_form.h"

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

}  // namespace

TEST(OsName, TheFirstMatchingRowDecidesAndTheServicePackEndsAtItsNul) {
  const std::pair<VersionRecord, const char*> cases[] = {
      {Version(0, 3, 11), "Win32s für Windows 3.11 or Windows 3.1"},
      {Version(1, 4, 0, " A "), "Windows 95 A"},
      {Version(1, 4, 0, "B"), "Windows 95 OSR2"},
      {Version(1, 4, 0, " C "), "Windows 95 OSR2"},
      {Version(1, 4, 0, "c"), "Windows 95 OSR2"},
      {Version(1, 4, 0, ""), "Windows 95"},
      {Version(1, 4, 0, "D"), "Windows 95"},
      {Version(1, 4, 10, " A "), "Windows 98 SE"},
      {Version(1, 4, 10, " a "), "Windows 98 SE"},
      {Version(1, 4, 10, ""), "Windows 98"},
      {Version(1, 4, 90, " "), "Windows ME"},
      {Version(1, 4, 3), ""},
      {Version(2, 3, 51), "Windows NT 3.5x51"},
      {Version(2, 4, 0, "Service Pack 6", 1), "Windows NT 4.0 Workstation"},
      {Version(2, 4, 0, "Service Pack 6", 3), "Windows NT 4.0 Server"},
      {Version(2, 4, 0, "Service Pack 9 ", 2), "Windows NT 4.0 Server"},
      {Version(2, 4, 0, "Service Pack 5", 3), "Windows NT 4.0"},
      {Version(2, 4, 0, "Service Pack 6a", 1), "Windows NT 4.0"},
      {Version(2, 4, 0, "", 1), "Windows NT 4.0"},
      {Version(2, 5, 0, "", 1, 0x0082), "Windows 2000 Professional"},
      {Version(2, 5, 0, "", 3, 0x0082), "Windows 2000 Advanced Server"},
      {Version(2, 5, 0, "", 3, 0x0080), "Windows 2000 Datacenter Server"},
      {Version(2, 5, 0, "", 2, 0), "Windows 2000 Server"},
      {Version(2, 5, 1, "", 1, 0x0300), "Windows XP Home Edition"},
      {Version(2, 5, 1, "Service Pack 2", 1, 0x0100), "Windows XP Professional"},
      {Version(2, 5, 1, "", 2), "Neue, unbekannte Windows-Version"},
      {Version(2, 5, 2, "Service Pack 2", 3), "Windows 2003 Server"},
      {Version(2, 5, 2, "Service Pack 2", 1), "Neue, unbekannte Windows-Version"},
      {Version(2, 5, 2, "", 2), "Neue, unbekannte Windows-Version"},
      {Version(2, 5, 3), "Neue, unbekannte Windows-Version"},
      {Version(2, 6, 0, "", 1), "Unbekannte Version"},
      {Version(2, 6, 1, "Service Pack 1", 1), "Unbekannte Version"},
      {Version(2, 10, 0), "Unbekannte Version"},
      {Version(2, 2, 0), "Unbekannte Version"},
      {Version(3, 10, 0), "Unbekannte Version"},
  };
  for (const auto& [version, name] : cases) {
    EXPECT_EQ(Windows::OSNameFor(version), name)
        << version.platformId << " " << version.major << "." << version.minor << " "
        << version.servicePack.c_str() << " type " << int(version.productType) << " suite "
        << version.suiteMask;
  }
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

TEST(SystemFacts, FoldersEndInOneBackslashTheUserAtItsNulAndTheRoleFollowsIsNTAdmin) {
  FakeSystem system;
  system.windowsDir = "C:\\WINNT";
  system.systemDir = "C:\\WINNT\\system32";
  EXPECT_EQ(Windows::GetWindowsPath(system), "C:\\WINNT\\");
  EXPECT_EQ(Windows::GetSystemPath(system), "C:\\WINNT\\system32\\");
  system.windowsDir = "D:\\";
  EXPECT_EQ(Windows::GetWindowsPath(system), "D:\\");
  system.systemDir = "";
  EXPECT_EQ(Windows::GetSystemPath(system), "\\");

  system.user = "Erika\0"s + std::string(250, ' ');
  EXPECT_EQ(Windows::GetLoggedOnUser(system), "Erika");
  EXPECT_EQ(system.userNameBuffer, 256u);
  system.user = std::nullopt;  // a failed call leaves the blanks
  EXPECT_EQ(Windows::GetLoggedOnUser(system), std::string(256, ' '));
  for (const auto& [admin, role] : {std::pair{std::optional<bool>(true), "Administrator"},
                                    {false, "User"},
                                    {std::nullopt, "User"}}) {
    system.admin = admin;  // nullopt: IsNTAdmin not available
    EXPECT_EQ(Windows::GetAdminRole(system), role);
  }
}

namespace {

struct WindowsFillTest : testing::Test, ComposedForm<> {
  WindowsFillTest() {
    const std::string key = Windows::kCurrentVersionKey;
    for (const auto& [name, value] : {std::pair{"CSDVersion", "Service Pack 2"},
                                      {"CurrentBuildNumber", "3790"},
                                      {"ProductId", "12345-OEM-1"},
                                      {"RegisteredOwner", "Erika Muster"},
                                      {"RegisteredOrganization", "Müller & Söhne"},
                                      {"CurrentVersion", "5.2"}})
      fake.registry.putString(RootKey::LocalMachine, key, name, value);
    fake.system.versions[156] = Version(2, 5, 2, "Service Pack 2", 3);
    fake.system.user = "Erika\0"s;
    view.log.clear();
  }
  void WmiAvailable() {
    mgmt.addNamespace("winmgmts:");
    mgmt.addObject(Windows::kIdentificationMoniker,
                   {{"versionusedtocreatedb", WmiValue::Text("5.2.3790.3959")}});
  }
  FakeManagement& mgmt = fake.management;
};

}  // namespace

TEST_F(WindowsFillTest, WritesEveryFieldInOrder) {
  WmiAvailable();
  Windows::Fill(fake.platform, view);
  EXPECT_EQ(
      view.log,
      (std::vector<std::string>{
          "text Text1(10)=5.2.3790.3959", "text Text1(9)=WMI ist installiert!",
          "text Text1(0)=Windows 2003 Server", "text Text1(1)=Service Pack 2", "text Text1(2)=3790",
          "text Text1(3)=C:\\WINDOWS\\", "text Text1(5)=12345-OEM-1", "text Text1(6)=Erika Muster",
          "text Text1(7)=Müller & Söhne", "text Text1(8)=Erika (Administrator)",
          "text Text1(11)=5.2", "text Text1(12)=C:\\WINDOWS\\system32\\", "text Text1(13)="}));
  EXPECT_EQ(view.text(Text1(4)), "N/A");  // the uptime is not this fill's
}

TEST_F(WindowsFillTest, UnreadableRegistryValuesLeaveTheirFieldsEmpty) {
  fake.registry.put(RootKey::LocalMachine, Windows::kCurrentVersionKey, "RegisteredOwner",
                    RegData{regtype::kDword, "\x01\0\0\0"s});
  Windows::Fill(fake.platform, view);
  EXPECT_EQ(view.text(Text1(6)), "");
  EXPECT_EQ(view.text(Text1(13)), "");
}

TEST_F(WindowsFillTest, VersionObjectFailingKeepsTheVersionFieldAndStillWritesTheStatus) {
  mgmt.addNamespace("winmgmts:");
  view.setText(Text1(10), "4.0");
  Windows::Fill(fake.platform, view);
  EXPECT_EQ(view.text(Text1(10)), "4.0");
  EXPECT_EQ(view.text(Text1(9)), "WMI ist installiert!");
  // A version object whose property cannot be read behaves the same.
  mgmt.addObject(Windows::kIdentificationMoniker, {});
  Windows::Fill(fake.platform, view);
  EXPECT_EQ(view.text(Text1(10)), "4.0");
}

TEST_F(WindowsFillTest, WithoutAnyServiceTheStatusSaysNotInstalledAndTheRestFills) {
  Windows::Fill(fake.platform, view);
  EXPECT_EQ(view.text(Text1(10)), "N/A");
  EXPECT_EQ(view.text(Text1(9)), "WMI ist nicht installiert!");
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(mgmt.connects,
            (std::vector<std::string>{Windows::kIdentificationMoniker, "winmgmts:"}));
}

TEST_F(WindowsFillTest, TheWindowsMenuRunsTheFillAtLoadAndOnEveryClick) {
  WmiAvailable();
  form.Form_Load();
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(view.text(Text1(6)), "Erika Muster");
  fake.registry.putString(RootKey::LocalMachine, Windows::kCurrentVersionKey, "RegisteredOwner",
                          "Max Mustermann");
  view.setText(Text1(0), "typed by the user");
  form.Label8_Click();
  form.Label2_Click();
  EXPECT_EQ(view.text(Text1(6)), "Max Mustermann");
  EXPECT_EQ(view.text(Text1(0)), "Windows 2003 Server");
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{0});
}
