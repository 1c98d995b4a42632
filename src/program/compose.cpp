#include "program/compose.h"

#include <memory>

#include "collectors/ram.h"
#include "collectors/windows.h"
#include "program/status_line.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& /*state*/) {
  form.setFill(0, [&view, &platform] { Windows::Fill(platform, view); });
  form.setFill(4, [&view, &platform] { ram::Fill(platform.machine, view); });

  // The status line, and with it the sampler, lives as long as the window's actions.
  auto status = std::make_shared<StatusLine>(view, platform);
  form.setLoadAction([status] { status->CreateSampler(); });
  form.setTimerAction([status] { status->Timer1_Timer(); });
}

}  // namespace velkaro
