#include "program/compose.h"

#include "collectors/ram.h"
#include "collectors/windows.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& /*state*/) {
  form.setFill(0, [&view, &platform] { Windows::Fill(platform, view); });
  form.setFill(4, [&view, &platform] { ram::Fill(platform.machine, view); });
}

}  // namespace velkaro
