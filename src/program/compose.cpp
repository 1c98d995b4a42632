#include "program/compose.h"

#include <memory>
#include <utility>

#include "collectors/computer.h"
#include "collectors/cpu.h"
#include "collectors/grafik.h"
#include "collectors/laufwerke.h"
#include "collectors/netzwerk.h"
#include "collectors/ram.h"
#include "collectors/ram_release.h"
#include "collectors/sonstiges.h"
#include "collectors/windows_system.h"
#include "collectors/wmi_regimes.h"
#include "program/status_line.h"
#include "report/report.h"
#include "tools/launchers.h"
#include "tools/reboot.h"

namespace velkaro {

namespace {

// A fill whose waits for the management service and the devices share one deadline.
Form1::Action WithDeadline(Deadlines& deadlines, Form1::Action fill) {
  return [&deadlines, fill = std::move(fill)] {
    Work work(deadlines, wmi::kFillServiceSeconds);
    fill();
  };
}

}  // namespace

void Compose(Form1& form, View& view, Platform& platform, AppState& state) {
  // The menu labels' fills, in menu order; "Menu" (8) has none.
  const std::pair<int, Form1::Action> fills[] = {
      {0, [&view, &platform] { Windows::Fill(platform, view); }},
      {1, [&view, &platform, &state] { Grafik::Fill(platform, view, state.DirectXVersion); }},
      {2, [&view, &platform] { Netzwerk::Fill(platform, view); }},
      {3, [&view, &platform] { Computer::Fill(platform, view); }},
      {4, [&view, &platform] { ram::Fill(platform.machine, view); }},
      {5,
       [&view, &platform, &state] {
         Laufwerke::ReadDriveInfo(platform.management, platform.machine, view, state);
       }},
      {6,
       [&view, &platform] { CPU::ReadProcessorInfo(platform.management, platform.machine, view); }},
      {7, [&view, &platform] { Sonstiges::Fill(platform.registry, view); }},
  };
  for (const auto& [menu, fill] : fills) form.setFill(menu, WithDeadline(platform.deadlines, fill));

  // The power actions behind their buttons, each with its code.
  const std::pair<Art, const char*> powerButtons[] = {
      {Art::Shutdown, "0"}, {Art::Restart, "1"}, {Art::Logoff, "2"}, {Art::Standby, "3"}};
  for (const auto& [art, code] : powerButtons)
    form.setButtonAction(ButtonImage(art),
                         [&platform, code = code] { Reboot::PowerAction(platform.power, code); });
  form.setButtonAction(ButtonImage(Art::Lock), [&platform] { platform.power.lockWorkStation(); });

  for (const auto& launcher : launchers::kLaunchers)
    form.setButtonAction(ButtonImage(launcher.button),
                         [&platform, &launcher] { launchers::Launch(launcher, platform); });

  auto release = std::make_shared<ram::MemoryRelease>(platform, view);
  form.setButtonAction(ButtonImage(Art::Memory), [release] { release->ReleaseMemory(); });

  auto report = std::make_shared<Report::Writer>(form, view, platform, state);
  form.setButtonAction(ButtonImage(Art::Report), [report] { report->Image17_Click(); });
  // When the session ends, the report's run (which lies lower on the stack, in a pause) leaves
  // no unfinished file behind, even if the process is ended right afterwards.
  form.addUnloadAction([report] { report->drop(); });

  // The status line, and with it the sampler, lives as long as the window's actions.
  auto status = std::make_shared<StatusLine>(view, platform);
  form.setLoadAction([status] { status->createSampler(); });
  form.setTimerAction([status] { status->Timer1_Timer(); });
}

}  // namespace velkaro
