#include "tools/launchers.h"

#include "collectors/windows_system.h"

namespace velkaro::launchers {

std::string CommandLine(const Launcher& launcher, const std::string& systemPath) {
  std::string program = launcher.inSystemFolder ? systemPath + launcher.program : launcher.program;
  if (program.find(' ') != std::string::npos) program = "\"" + program + "\"";
  const std::string arguments = launcher.arguments;
  return arguments.empty() ? program : program + " " + arguments;
}

void Launch(const Launcher& launcher, Platform& platform) {
  const std::string systemPath =
      launcher.inSystemFolder ? Windows::GetSystemPath(platform.system) : std::string();
  platform.shell.start(CommandLine(launcher, systemPath), WindowStyle::NormalFocus);
}

}  // namespace velkaro::launchers
