// The tool launchers: nine picture buttons that each start one Windows tool and return at once.
#pragma once

#include <array>
#include <string>

#include "app/layout.h"
#include "platform/platform.h"

namespace velkaro::launchers {

// One launcher; its button's picture and tool tip stand in the table of pictures.
struct Launcher {
  Art button;             // the picture of its button
  const char* program;    // file name, or a program found through the search path
  const char* arguments;  // the rest of the command line, may be empty
  bool inSystemFolder;    // the program is started by its full path in the system folder
};

inline constexpr std::array<Launcher, 9> kLaunchers{{
    {Art::ControlPanel, "control.exe", "", false},
    {Art::Update, "wupdmgr.exe", "", false},
    {Art::Volume, "sndvol32.exe", "", true},
    {Art::Recorder, "sndrec32.exe", "", true},
    {Art::Modem, "rundll32.exe", "shell32.dll,Control_RunDLL telephon.cpl", false},
    {Art::Internet, "rundll32.exe", "shell32.dll,Control_RunDLL inetcpl.cpl", false},
    {Art::Network, "rundll32.exe", "shell32.dll,Control_RunDLL ncpa.cpl", false},
    {Art::Firewall, "rundll32.exe", "shell32.dll,Control_RunDLL firewall.cpl", false},
    {Art::System, "rundll32.exe", "shell32.dll,Control_RunDLL sysdm.cpl", false},
}};

// The command line of a launcher, given the system folder (ending in "\"). A program path with a
// blank is quoted, so that Windows cannot take a shorter prefix of it for the program.
std::string CommandLine(const Launcher& launcher, const std::string& systemPath);

// The click: asks for the system folder when the launcher needs it, starts the command with a
// normal window and returns without waiting. A tool missing on this Windows does nothing.
void Launch(const Launcher& launcher, Platform& platform);

}  // namespace velkaro::launchers
