#include "program/compose.h"

#include "collectors/computer.h"
#include "collectors/cpu.h"
#include "collectors/laufwerke.h"
#include "collectors/ram.h"
#include "collectors/sonstiges.h"
#include "collectors/windows.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& state) {
  form.setFill(0, [&view, &platform] { Windows::Fill(platform, view); });
  form.setFill(3, [&view, &platform] { Computer::Fill(platform, view); });
  form.setFill(4, [&view, &platform] { ram::Fill(platform.machine, view); });
  form.setFill(5, [&view, &platform, &state] {
    Laufwerke::ReadDriveInfo(platform.management, platform.machine, view, state);
  });
  form.setFill(6, [&view, &platform] {
    CPU::ReadProcessorInfo(platform.management, platform.machine, view);
  });
  form.setFill(7, [&view, &platform] { Sonstiges::Fill(platform.registry, view); });
}

}  // namespace velkaro
