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

  // Power actions: Image4 shut down, Image5 restart, Image6 log off, Image3 stand-by, Image7 lock.
  const std::pair<int, const char*> powerButtons[] = {{4, "0"}, {5, "1"}, {6, "2"}, {3, "3"}};
  for (const auto& [image, code] : powerButtons)
    form.setButtonAction(image,
                         [&platform, code = code] { Reboot::PowerAction(platform.power, code); });
  form.setButtonAction(7, [&platform] { platform.power.lockWorkStation(); });

  for (const auto& launcher : launchers::kLaunchers)
    form.setButtonAction(launcher.image,
                         [&platform, &launcher] { launchers::Launch(launcher, platform); });

  auto release = std::make_shared<ram::MemoryRelease>(platform, view);
  form.setButtonAction(18, [release] { release->ReleaseMemory(); });

  auto report = std::make_shared<Report::Writer>(form, view, platform, state);
  form.setButtonAction(17, [report] { report->Image17_Click(); });
  // When the session ends, the report's run (which lies lower on the stack, in a pause) leaves
  // no unfinished file behind, even if the process is ended right afterwards.
  form.addUnloadAction([report] { report->Drop(); });

  // The status line, and with it the sampler, lives as long as the window's actions.
  auto status = std::make_shared<StatusLine>(view, platform);
  form.setLoadAction([status] { status->CreateSampler(); });
  form.setTimerAction([status] { status->Timer1_Timer(); });
}

}  // namespace velkaro
