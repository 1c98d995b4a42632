#include "collectors/netzwerk.h"

#include <gtest/gtest.h>

#include "fakes/fake_form.h"

using namespace velkaro;
using namespace velkaro::ids;
using namespace velkaro::fakes;

TEST(BrowserKind, TheWholeLowerCasedPathIsSearchedInTableOrderTheProbeSitsBesideTheProgram) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\PROGRAMME\\INTERNET EXPLORER\\IEXPLORE.EXE", "Microsoft Internet Explorer"},
      {"C:\\Programme\\Netscape\\Communicator\\Program\\netscape.exe", "Netscape Communicator"},
      {"C:\\Programme\\Microsoft Office\\Office\\FRONTPG.EXE", "Frontpage Editor"},
      {"C:\\Programme\\Opera7\\Opera.exe", "Opera-Browser"},
      {"C:\\Programme\\mozilla.org\\Mozilla\\mozilla.exe", "Mozilla-Browser"},
      {"C:\\Programme\\mozilla firefox\\firefox.exe", "Mozilla-Browser"},
      {"D:\\Apps\\Firefox\\firefox.exe", "Firefox-Browser"},
      {"C:\\Opera\\iexplore.exe", "Microsoft Internet Explorer"},
      {"C:\\windows\\system32\\winebrowser.exe", "Unbekannter Browser"},
      {"C:\\Programme\\Öffentlich\\Browser.exe", "Unbekannter Browser"}};
  for (const auto& [path, kind] : cases) EXPECT_EQ(Netzwerk::BrowserKind(path), kind) << path;
  EXPECT_EQ(Netzwerk::ProbePath("C:\\Velkaro\\Velkaro.exe"), "C:\\Velkaro\\test~12345.html");
  EXPECT_EQ(Netzwerk::ProbePath("D:\\Velkaro.exe"), "D:\\test~12345.html");
}

namespace {

WmiValue Texts(std::vector<std::string> items) {
  std::vector<WmiValue> values;
  for (auto& item : items) values.push_back(WmiValue::Text(std::move(item)));
  return WmiValue::Array(std::move(values));
}

struct NetzwerkTest : testing::Test, ComposedForm<> {
  static constexpr const char* kProbe = "C:\\Velkaro\\test~12345.html";
  void Associate(const std::string& program) {
    fake.shell.associations[".html"] = program;
    // The document must exist while the shell looks it up.
    fake.shell.onFind = [this](const std::string& doc) { existedAtSearch = devices.exists(doc); };
  }
  void Adapters(std::vector<Properties> adapters) {
    fake.management.addResult("winmgmts:", Netzwerk::kAdapterQuery, {std::move(adapters)});
  }
  static void Card(FakeRegistry& registry, int k, const std::string& description) {
    registry.putString(RootKey::LocalMachine,
                       std::string(Netzwerk::kNetworkCardsKey) + "\\" + std::to_string(k),
                       "Description", description);
  }
  FakeDevices& devices = fake.devices;
  bool existedAtSearch = false;
};

}  // namespace

TEST_F(NetzwerkTest, TheProbeDocumentIsLookedUpAndAlwaysDeleted) {
  Associate("C:\\Programme\\Mozilla Firefox\\firefox.exe");
  EXPECT_EQ(Netzwerk::GetDefaultBrowser(fake.platform), "Mozilla-Browser");
  EXPECT_EQ(fake.shell.searched, std::vector<std::string>{kProbe});
  EXPECT_TRUE(existedAtSearch);
  EXPECT_FALSE(devices.exists(kProbe));

  fake.shell.associations.clear();  // no program: empty text, not "Unbekannter Browser"
  EXPECT_EQ(Netzwerk::GetDefaultBrowser(fake.platform), "");
  EXPECT_FALSE(devices.exists(kProbe));

  // A probe left by a crash is emptied, used and removed.
  Associate("C:\\windows\\system32\\winebrowser.exe");
  devices.files["c:\\velkaro\\test~12345.html"] = "stale";
  EXPECT_EQ(Netzwerk::GetDefaultBrowser(fake.platform), "Unbekannter Browser");
  EXPECT_TRUE(existedAtSearch);
  EXPECT_FALSE(devices.exists(kProbe));

  // The document itself coming back (in any case) counts as no program; text after a NUL goes.
  fake.shell.associations[".html"] = "c:\\VELKARO\\TEST~12345.HTML";
  EXPECT_EQ(Netzwerk::FindExecutableOf(fake.shell, kProbe), "");
  fake.shell.associations[".html"] = std::string("C:\\Opera\\opera.exe\0junk", 24);
  EXPECT_EQ(Netzwerk::FindExecutableOf(fake.shell, kProbe), "C:\\Opera\\opera.exe");
}

TEST_F(NetzwerkTest, AProbeThatCannotBeCreatedIsNeverLookedUpAndNothingIsLeft) {
  Associate("C:\\Programme\\Internet Explorer\\iexplore.exe");
  devices.folders.insert("c:\\velkaro\\test~12345.html");
  EXPECT_EQ(Netzwerk::GetDefaultBrowser(fake.platform), "");
  EXPECT_TRUE(fake.shell.searched.empty());
  EXPECT_TRUE(devices.files.empty());
  EXPECT_EQ(devices.folders.size(), 1u);
  devices.folders.clear();
  devices.createFails = true;  // a folder the user may not write
  EXPECT_EQ(Netzwerk::GetDefaultBrowser(fake.platform), "");
  EXPECT_TRUE(fake.shell.searched.empty());
}

TEST_F(NetzwerkTest, TheMenuLabelFillsEveryFieldInOrder) {
  Associate("C:\\Programme\\Opera\\opera.exe");
  fake.registry.addKey(RootKey::LocalMachine, "Software\\Clients\\Mail\\Outlook Express");
  fake.registry.addKey(RootKey::LocalMachine, "Software\\Clients\\Mail\\Hotmail");
  devices.readyPorts.erase("COM2");
  Adapters({{{"MACAddress", WmiValue::Text("00:0C:29:AA:BB:01")},
             {"IPAddress", Texts({"192.168.1.10"})},
             {"IPSubnet", Texts({"255.255.255.0"})},
             {"DefaultIPGateway", Texts({"192.168.1.1"})},
             {"WINSPrimaryServer", WmiValue::Text("192.168.1.2")}},
            {{"MACAddress", WmiValue::Text("00:0C:29:AA:BB:02")},
             {"IPAddress", Texts({"10.0.0.5", "10.0.0.6"})},
             {"IPSubnet", Texts({"255.0.0.0", "255.255.0.0"})},
             {"DefaultIPGateway", WmiValue::Null()},
             {"WINSPrimaryServer", WmiValue::Text("")}}});
  Card(fake.registry, 2, "Intel(R) PRO/100");
  Card(fake.registry, 5, "Realtek RTL8139");
  form.Label4_Click();
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{2});
  EXPECT_EQ(
      view.written(),
      (std::vector<std::string>{
          "text Text1(33)=Opera-Browser", "text Text1(36)=Outlook Express",
          "text Text1(30)=Port Bereit.", "text Text1(31)=Port nicht vorhanden oder nicht bereit.",
          "text Text1(35)=Port Bereit.", "text Text1(32)=Port Bereit.",
          "text Text1(34)=00:0C:29:AA:BB:01", "text Text1(15)=192.168.1.10",
          "text Text1(16)=255.255.255.0", "text Text1(28)=192.168.1.1",
          "text Text1(29)=192.168.1.2",
          // the last adapter's addresses stand, the gateway and WINS of the first remain
          "text Text1(34)=00:0C:29:AA:BB:02", "text Text1(15)=10.0.0.5 10.0.0.6",
          "text Text1(16)=255.0.0.0 255.255.0.0", "text Text1(14)=N/A", "text Text1(14)=N/A",
          "text Text1(14)=Intel(R) PRO/100"}));
  EXPECT_FALSE(devices.exists(kProbe));
  EXPECT_EQ(devices.opened,
            (std::vector<std::string>{"COM1 read", "COM2 read", "COM3 read", "LPT1 write"}));
  ASSERT_EQ(fake.management.queries.size(), 1u);
  EXPECT_FALSE(fake.management.queries[0].flags.has_value());  // the query text alone
}

TEST_F(NetzwerkTest, ValuesOfTheWrongKindLeaveTheirFieldsAndTheFillGoesOn) {
  Adapters({{{"MACAddress", WmiValue::Null()},
             {"IPAddress", WmiValue::Text("192.168.1.10")},
             {"IPSubnet", WmiValue::Null()},
             {"DefaultIPGateway", WmiValue::Text("192.168.1.1")}},
            {{"IPAddress", Texts({"10.0.0.5"})}}});
  Card(fake.registry, 1, "Wine adapter");
  Netzwerk::ReadNetworkInfo(fake.platform, view);
  for (int field : {34, 16, 28, 29}) EXPECT_EQ(view.text(Text1(field)), "N/A") << field;
  EXPECT_EQ(view.text(Text1(15)), "10.0.0.5");
  EXPECT_EQ(view.text(Text1(14)), "Wine adapter");
  EXPECT_EQ(view.text(Text1(36)), "");  // no mail key: empty text

  FakePlatform noService;  // nothing to bind: the adapter fields stay
  Netzwerk::ReadNetworkInfo(noService.platform, view);
  EXPECT_EQ(view.text(Text1(15)), "10.0.0.5");
}

TEST_F(NetzwerkTest, NetworkCardsAreSearchedFromZeroToEight) {
  struct Case {
    std::vector<std::pair<int, std::string>> cards;
    const char* expected;
  } cases[] = {
      {{{1, "Card one"}}, "Card one"},
      {{{5, "Card five"}, {2, "Card two"}}, "Card two"},
      {{{0, ""}, {8, "Card eight"}}, "Card eight"},
      {{{9, "Card nine"}}, "N/A"},
      {{}, "N/A"},
  };
  for (const auto& c : cases) {
    FakeRegistry fresh;
    for (const auto& [k, description] : c.cards) Card(fresh, k, description);
    view.setText(Text1(14), "from before");
    Netzwerk::ShowNetworkCard(fresh, view);
    EXPECT_EQ(view.text(Text1(14)), c.expected);
  }
}
