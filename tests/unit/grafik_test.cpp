#include "collectors/grafik.h"

#include <gtest/gtest.h>

#include "fakes/fake_form.h"

using namespace velkaro;
using namespace velkaro::ids;
using namespace velkaro::fakes;
using namespace std::string_literals;

namespace {

constexpr const char* kCimV2 = "winmgmts:\\\\.\\root\\cimv2";

RegData MultiString(const std::string& strings) {
  return {regtype::kMultiSz, text::Utf8ToUtf16Le(strings)};
}

Properties Controller(WmiValue colours, WmiValue chip) {
  return {{"CurrentNumberOfColors", std::move(colours)}, {"VideoProcessor", std::move(chip)}};
}

Properties Sound(const std::string& name) {
  return {{"Caption", WmiValue::Text(name)},
          {"DeviceID", WmiValue::Text(name + "-ID")},
          {"MPU401Address", WmiValue::Integer(816)},
          {"PNPDeviceID", WmiValue::Text("PCI\\" + name)}};
}

struct GrafikTest : testing::Test, ComposedForm<> {
  void Machine() {
    registry.putString(RootKey::LocalMachine, Grafik::kSystemKey, "VideoBiosDate", "04/17/03");
    registry.put(RootKey::LocalMachine, Grafik::kSystemKey, "VideoBiosVersion",
                 MultiString("ATI RAGE 128\0Version 4.13\0\0"s));
    registry.addKey(RootKey::LocalMachine, "Software\\Clients\\Media\\Windows Media Player");
    registry.addKey(RootKey::LocalMachine, "Software\\Clients\\Media\\Apple QuickTime");
    fake.devices.metrics = {15.0 * 800, 15.0 * 600, 15, 15};
    mgmt.addResult(kCimV2, Grafik::kVideoControllerQuery,
                   {{Controller(WmiValue::Integer(256), WmiValue::Text("Rage 128")),
                     Controller(WmiValue::Text("4294967296"), WmiValue::Text("GeForce4 MX"))}});
    mgmt.addResult(kCimV2, Grafik::kSoundDeviceQuery,
                   {{Sound("SB Live"), Sound("AC97"), Sound("Modem")}});
  }
  FakeRegistry& registry = fake.registry;
  FakeManagement& mgmt = fake.management;
};

}  // namespace

TEST_F(GrafikTest, TheMenuLabelFillsInOrderLastControllerFirstSoundDevice) {
  Machine();
  state.DirectXVersion = " 9.0c";
  form.Label3_Click();
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{1});
  // GetMediaClient writes the media client, the fill again; a multi-string shows its first string.
  EXPECT_EQ(view.written(), (std::vector<std::string>{
                                "text Text1(17)=04/17/03", "text Text1(18)=Windows Media Player",
                                "text Text1(18)=Windows Media Player", "text Text1(23)= 9.0c",
                                "text Text1(25)=800 x 600", "text Text1(26)=ATI RAGE 128",
                                "text Text1(24)=256 Farben", "text Text1(27)=Rage 128",
                                "text Text1(24)=4294967296 Farben", "text Text1(27)=GeForce4 MX",
                                "text Text1(22)=SB Live", "text Text1(21)=SB Live-ID",
                                "text Text1(19)=816", "text Text1(20)=PCI\\SB Live"}));
  EXPECT_EQ(view.text(Text1(26)), "ATI RAGE 128");
  for (const auto& q : mgmt.queries) EXPECT_EQ(q.flags, kWmiReturnImmediatelyForwardOnly);
}

TEST_F(GrafikTest, WithNothingToReadOnlyTheFallbacksAndTheScreenAreWritten) {
  view.setText(Text1(27), "from before");
  view.setText(Text1(23), "old");
  Grafik::Fill(fake.platform, view, "");
  EXPECT_EQ(view.text(Text1(17)), "N/A");
  EXPECT_EQ(view.text(Text1(26)), "N/A");
  EXPECT_EQ(view.text(Text1(18)), "N/A");
  EXPECT_EQ(view.text(Text1(23)), "");  // an empty DirectX version empties the row
  EXPECT_EQ(view.text(Text1(25)), "1024 x 768");
  EXPECT_EQ(view.text(Text1(27)), "from before");  // no service: the fields stay
  for (int field : {24, 22, 21, 20, 19}) EXPECT_EQ(view.text(Text1(field)), "N/A") << field;
}

TEST_F(GrafikTest, NullAndMissingPropertiesAndEmptyValues) {
  registry.putString(RootKey::LocalMachine, Grafik::kSystemKey, "VideoBiosDate", "");
  registry.addKey(RootKey::LocalMachine, Grafik::kMediaClientsKey);  // the key, no subkey
  mgmt.addResult(kCimV2, Grafik::kVideoControllerQuery,
                 {{Controller(WmiValue::Null(), WmiValue::Null())}});
  mgmt.addResult(kCimV2, Grafik::kSoundDeviceQuery,
                 {{{{"DeviceID", WmiValue::Text("HDAUDIO")}, {"Caption", WmiValue::Null()}}}});
  Grafik::Fill(fake.platform, view, " 9.0c");
  EXPECT_EQ(view.text(Text1(17)), "N/A");
  EXPECT_EQ(view.text(Text1(18)), "N/A");
  EXPECT_EQ(view.text(Text1(24)), " Farben");  // a null joined to the suffix is empty text
  EXPECT_EQ(view.text(Text1(27)), "N/A");      // a null alone fails its step only
  EXPECT_EQ(view.text(Text1(22)), "N/A");
  EXPECT_EQ(view.text(Text1(21)), "HDAUDIO");
  EXPECT_EQ(view.text(Text1(19)), "N/A");  // missing property
}

TEST(GrafikScreen, TwipsBecomePixelsRoundedHalfToEven) {
  struct Case {
    ScreenMetrics screen;
    const char* expected;
  } cases[] = {
      {{15.0 * 800, 15.0 * 600, 15, 15}, "800 x 600"},
      {{12.0 * 1280, 12.0 * 1024, 12, 12}, "1280 x 1024"},  // 120 dpi
      {{12007.5, 9007.5, 15, 15}, "800 x 600"},             // 800.5 and 600.5 go down
      {{12022.5, 9022.5, 15, 15}, "802 x 602"},             // 801.5 and 601.5 go up
      {{12010, 8990, 15, 15}, "801 x 599"},
  };
  for (const auto& c : cases) EXPECT_EQ(Grafik::ResolutionText(c.screen), c.expected);
}
