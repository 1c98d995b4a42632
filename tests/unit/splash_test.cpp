#include "app/splash.h"

#include <gtest/gtest.h>

#include "fakes/fake_bundle.h"
#include "platform/regestry.h"

using namespace velkaro;
using namespace std::string_literals;
using namespace velkaro::fakes;

TEST(RegistryRecord, NothingIsWrittenWhenTheVersionIsAlreadyStored) {
  FakeRegistry reg;
  reg.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", "3.0.06");
  reg.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Velkaro", "Path",
                "D:\\old\\Velkaro.exe");
  EXPECT_FALSE(Splash::UpdateRegistryRecord(reg, "C:\\Velkaro\\Velkaro.exe"));
  EXPECT_TRUE(reg.writes.empty());
  EXPECT_EQ(Regestry::ReadRegPath(reg, "HKCU\\SOFTWARE\\Korvandt\\Velkaro\\Path"),
            "D:\\old\\Velkaro.exe");
}

TEST(RegistryRecord, AnyOtherValueWritesTheThreeValuesInOrder) {
  for (const char* stored : {"", "3.0.05", "3.0.06 ", "3.0.6"}) {
    SCOPED_TRACE(stored);
    FakeRegistry reg;
    if (*stored) reg.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", stored);
    EXPECT_TRUE(Splash::UpdateRegistryRecord(reg, "C:\\Tools\\Velkaro\\velkaro.EXE"));
    ASSERT_EQ(reg.writes.size(), 3u);
    EXPECT_EQ(reg.writes[0].key, "SOFTWARE\\Korvandt");
    EXPECT_EQ(reg.writes[0].name, "Velkaro");
    EXPECT_EQ(reg.writes[1].key, "SOFTWARE\\Korvandt\\Velkaro");
    EXPECT_EQ(reg.writes[1].name, "Version");
    EXPECT_EQ(reg.writes[2].key, "SOFTWARE\\Korvandt\\Velkaro");
    EXPECT_EQ(reg.writes[2].name, "Path");
    for (const auto& w : reg.writes) {
      EXPECT_EQ(w.root, RootKey::CurrentUser);
      EXPECT_EQ(w.data.type, regtype::kSz);
    }
    EXPECT_EQ(Regestry::ReadRegPath(reg, Splash::kRecordPath), "3.0.06");
    EXPECT_EQ(Regestry::ReadRegPath(reg, Splash::kVersionPath), "3.0.06");
    EXPECT_EQ(Regestry::ReadRegPath(reg, Splash::kPathPath), "C:\\Tools\\Velkaro\\velkaro.exe");
  }
}

TEST(RegistryRecord, ProgramInADriveRootGetsNoDoubledBackslash) {
  EXPECT_EQ(Splash::RecordedProgramPath("C:\\Velkaro.exe"), "C:\\Velkaro.exe");
  EXPECT_EQ(Splash::DumpPath("C:\\Velkaro.exe"), "C:\\dx.txt");
  EXPECT_EQ(Splash::DumpPath("C:\\Velkaro\\Velkaro.exe"), "C:\\Velkaro\\dx.txt");
}

TEST(DxDiagCommand, IsTheToolABlankAndThePath) {
  EXPECT_EQ(Splash::DxDiagCommand("C:\\Velkaro\\dx.txt"), "dxdiag.exe C:\\Velkaro\\dx.txt");
  // A blank in the folder would split the path into two arguments.
  EXPECT_EQ(Splash::DxDiagCommand("C:\\Program Files\\Velkaro\\dx.txt"),
            "dxdiag.exe \"C:\\Program Files\\Velkaro\\dx.txt\"");
}

struct DumpCase {
  const char* name;
  std::string dump;
  std::string expected;
};

class DumpMatching : public testing::TestWithParam<DumpCase> {};

TEST_P(DumpMatching, ContributesTheRestOfEveryMatchingLine) {
  EXPECT_EQ(Splash::ExtractDirectXVersion(GetParam().dump), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DumpMatching,
    testing::Values(
        DumpCase{"LeadingBlanks", "    DirectX Version: DirectX 9.0c (4.09.0000.0904)\r\n",
                 " DirectX 9.0c (4.09.0000.0904)"},
        DumpCase{"WineLine", "------\r\n    DirectX Version: = \"DirectX 9.0c\r\nDX Setup: x\r\n",
                 " = \"DirectX 9.0c"},
        DumpCase{"NothingAfterColon", "DirectX Version:\r\n", ""},
        DumpCase{"NoInnerBlank", "DirectXVersion: 9.0c\r\n", " 9.0c"},
        DumpCase{"BlankInsideWord", "Direct X Version: 8.1\r\n", " 8.1"},
        DumpCase{"TabPreventsMatch", "DirectX\tVersion: 8.1\r\n", ""},
        DumpCase{"TwoBlanksAfterColon", "DirectX Version:  9.0c\r\n", "  9.0c"},
        DumpCase{"SeveralLinesJoined", "DirectX Version: a\r\nx\r\nDirectX Version: b\r\n", " a b"},
        DumpCase{"CaseMatters", "DIRECTX VERSION: 9\r\ndirectx version: 9\r\n", ""},
        DumpCase{"NoColon", "DirectX Version 9.0c\r\n", ""},
        DumpCase{"ColonInsideRestStays", "DirectX Version: a:b:c", " a:b:c"},
        DumpCase{"LoneLfAndCrEndLines", "x\nDirectX Version: lf\rDirectX Version: cr\n", " lf cr"},
        DumpCase{"NoFinalNewline", "DirectX Version: 9", " 9"}, DumpCase{"Empty", "", ""},
        DumpCase{"BinaryWithNuls", "\x01\x02\0\xFF\xFE\r\nDirectX\0Version: 9\r\n"s, ""},
        DumpCase{"KeyLaterInLineDoesNotMatch", "Version: DirectX Version: 9\r\n", ""}),
    [](const testing::TestParamInfo<DumpCase>& info) { return info.param.name; });

TEST(DumpMatchingLimits, VeryLongLinesAndLargeDumpsAreHandled) {
  std::string dump(3u << 20, 'A');
  dump += "\r\n    DirectX Version: 12\r\n";
  dump += std::string(1u << 20, ' ');
  EXPECT_EQ(Splash::ExtractDirectXVersion(dump), " 12");
}

namespace {

struct Recorder : SplashScreen, MainWindow {
  explicit Recorder(std::vector<std::string>& log) : log(log) {}
  void show() override { log.push_back(splashPhase ? "splash.show" : "main.show"); }
  void close() override {
    log.push_back("splash.close");
    splashPhase = false;
  }
  void load() override { log.push_back("main.load"); }
  std::vector<std::string>& log;
  bool splashPhase = true;
};

struct StartUpTest : testing::Test {
  StartUpTest() { fakes.clock.now = 86399.5; }  // a wait that spans midnight of a time-of-day clock
  FakePlatform fakes;
  FakeRegistry& registry = fakes.registry;
  FakeSystem& system = fakes.system;
  FakeShell& shell = fakes.shell;
  FakeClock& clock = fakes.clock;
  FakePump& pump = fakes.pump;
  FakeFiles& files = fakes.files;
  Platform& platform = fakes.platform;
  AppState state;
  std::vector<std::string> log;
  Recorder windows{log};
  StartUp startUp{platform, state, windows, windows};
};

}  // namespace

TEST_F(StartUpTest, LoadShowsSplashRecordsStartsToolAndReadsDumpAfterOneSecond) {
  pump.step = 0.25;
  files.answers = {std::string("    DirectX Version: DirectX 9.0c\r\n")};
  startUp.Splash_Load();

  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "splash.show");
  EXPECT_EQ(registry.writes.size(), 3u);
  ASSERT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.started[0].first, "dxdiag.exe C:\\Velkaro\\dx.txt");
  EXPECT_EQ(shell.started[0].second, WindowStyle::MinimizedFocus);
  ASSERT_EQ(files.reads.size(), 1u);
  EXPECT_EQ(files.reads[0].first, "C:\\Velkaro\\dx.txt");
  EXPECT_NEAR(clock.now, 86400.5, 1e-6);
  EXPECT_EQ(state.DirectXVersion, " DirectX 9.0c");
  // The main window is made ready before the hand-over, which then only shows it.
  EXPECT_EQ(log, (std::vector<std::string>{"splash.show", "main.load"}));
  startUp.Splash_Timer1();
  EXPECT_EQ(log,
            (std::vector<std::string>{"splash.show", "main.load", "splash.close", "main.show"}));
}

TEST_F(StartUpTest, AFailedReadIsRetriedOnceASecondLater) {
  files.answers = {std::nullopt, std::string("DirectX Version: 9\r\n")};
  startUp.Splash_Load();
  EXPECT_EQ(files.reads.size(), 2u);
  EXPECT_NEAR(clock.now, 86401.5, 1e-6);
  EXPECT_EQ(state.DirectXVersion, " 9");
}

TEST_F(StartUpTest, TwoFailuresGiveUpTheDumpAndStartUpGoesOn) {
  shell.startSucceeds = false;
  files.answers = {std::nullopt, std::nullopt, std::string("DirectX Version: never read")};
  startUp.Splash_Load();
  EXPECT_EQ(files.reads.size(), 2u);
  EXPECT_EQ(state.DirectXVersion, "");
  startUp.Splash_Timer1();
  EXPECT_EQ(log.back(), "main.show");
}

TEST_F(StartUpTest, ATickDuringTheWaitHandsOverAndTheLoadStillReadsTheDump) {
  // The registry and the tool took long: the three seconds end inside the retry's wait.
  pump.step = 0.5;
  pump.at(86399.5 + 1.6, [this] { startUp.Splash_Timer1(); });
  files.answers = {std::nullopt, std::string("DirectX Version: late\r\n")};
  startUp.Splash_Load();
  EXPECT_EQ(log,
            (std::vector<std::string>{"splash.show", "main.load", "splash.close", "main.show"}));
  EXPECT_EQ(state.DirectXVersion, " late");
  startUp.Splash_Timer1();  // a second tick cannot come (the timer died with the splash)
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(StartUpTest, AStoredVersionLeavesTheRegistryAlone) {
  registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", "3.0.06");
  startUp.Splash_Load();
  EXPECT_TRUE(registry.writes.empty());
}
