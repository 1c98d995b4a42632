// The start-up when the splash's hand-over comes while it still waits for the diagnostic dump.
#include "app/splash.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

using namespace velkaro;
using namespace velkaro::fakes;

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
  FakePump& pump = fakes.pump;
  FakeFiles& files = fakes.files;
  AppState state;
  std::vector<std::string> log;
  Recorder windows{log};
  StartUp startUp{fakes.platform, state, windows, windows};
};

}  // namespace

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
