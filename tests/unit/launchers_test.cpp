#include "tools/launchers.h"

#include <gtest/gtest.h>

#include "app/controls.h"
#include "fakes/fake_form.h"

using namespace velkaro;

const char* const kRunDll = "rundll32.exe shell32.dll,Control_RunDLL ";

TEST(Launchers, EachButtonStartsItsCommandLineWithANormalWindow) {
  const struct {
    int image;
    std::string tooltip;
    std::string commandLine;
  } cases[] = {
      {8, "Systempanel", "control.exe"},
      {9, "Windows Update", "wupdmgr.exe"},
      {11, "Lautstärkeregelung", "C:\\WINDOWS\\system32\\sndvol32.exe"},
      {12, "Sound - Audiorecorder", "C:\\WINDOWS\\system32\\sndrec32.exe"},
      {13, "Modemoptionen", kRunDll + std::string("telephon.cpl")},
      {14, "Internetoptionen", kRunDll + std::string("inetcpl.cpl")},
      {15, "Netzwerkverbindungen", kRunDll + std::string("ncpa.cpl")},
      {16, "Windows Firewall", kRunDll + std::string("firewall.cpl")},
      {19, "System", kRunDll + std::string("sysdm.cpl")},
  };
  ASSERT_EQ(launchers::kLaunchers.size(), std::size(cases));
  for (const auto& c : cases) {
    fakes::ComposedForm<> window;
    window.fake.shell.startSucceeds = false;  // a missing tool: nothing else happens
    window.form.OnClick(ids::Image(c.image));
    const auto& started = window.fake.shell.started;
    ASSERT_EQ(started.size(), 1u) << "Image" << c.image;
    EXPECT_EQ(started[0].first, c.commandLine);
    EXPECT_EQ(started[0].second, WindowStyle::NormalFocus);
    EXPECT_EQ(FindControl(ids::Image(c.image))->tooltip, c.tooltip);
  }
  // Only the program part is quoted.
  const launchers::Launcher tool{1, "my tool.exe", "a b", true};
  EXPECT_EQ(launchers::CommandLine(tool, "C:\\X Y\\"), "\"C:\\X Y\\my tool.exe\" a b");
}

TEST(Launchers, SoundToolsAskForTheSystemFolderAtTheClick) {
  const struct {
    std::string systemDir;
    std::string commandLine;
  } cases[] = {
      {"C:\\WINDOWS\\system32\\", "C:\\WINDOWS\\system32\\sndvol32.exe"},  // one backslash only
      {"C:\\Program Files\\Win\\system32", "\"C:\\Program Files\\Win\\system32\\sndvol32.exe\""},
      {"", "\\sndvol32.exe"},  // the folder is unknown
  };
  for (const auto& c : cases) {
    fakes::ComposedForm<> window;  // composed while the folder was another
    window.fake.system.systemDir = c.systemDir;
    window.form.OnClick(ids::Image(11));
    window.form.OnClick(ids::Image(11));  // two clicks, two instances
    const auto& started = window.fake.shell.started;
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].first, c.commandLine);
    EXPECT_EQ(started[1].first, c.commandLine);
  }
}
