// The tool launchers: nine picture buttons that each start one Windows tool and return at once.
#pragma once

#include <array>
#include <string>

#include "platform/platform.h"

namespace velkaro::launchers {

struct Launcher {
  int image;              // the button ImageN
  const char* tooltip;    // as the button shows it
  const char* program;    // file name, or a program found through the search path
  const char* arguments;  // the rest of the command line, may be empty
  bool inSystemFolder;    // the program is started by its full path in the system folder
};

inline constexpr std::array<Launcher, 9> kLaunchers{{
    {8, "Systempanel", "control.exe", "", false},
    {9, "Windows Update", "wupdmgr.exe", "", false},
    {11, "Lautstärkeregelung", "sndvol32.exe", "", true},
    {12, "Sound - Audiorecorder", "sndrec32.exe", "", true},
    {13, "Modemoptionen", "rundll32.exe", "shell32.dll,Control_RunDLL telephon.cpl", false},
    {14, "Internetoptionen", "rundll32.exe", "shell32.dll,Control_RunDLL inetcpl.cpl", false},
    {15, "Netzwerkverbindungen", "rundll32.exe", "shell32.dll,Control_RunDLL ncpa.cpl", false},
    {16, "Windows Firewall", "rundll32.exe", "shell32.dll,Control_RunDLL firewall.cpl", false},
    {19, "System", "rundll32.exe", "shell32.dll,Control_RunDLL sysdm.cpl", false},
}};

// The launcher of button ImageN, or nullptr.
const Launcher* Find(int image);

// The command line of a launcher, given the system folder (ending in "\"). A program path with a
// blank is quoted, so that Windows cannot take a shorter prefix of it for the program.
std::string CommandLine(const Launcher& launcher, const std::string& systemPath);

// The click: asks for the system folder when the launcher needs it, starts the command with a
// normal window and returns without waiting. A tool missing on this Windows does nothing.
void Launch(const Launcher& launcher, Platform& platform);

}  // namespace velkaro::launchers
