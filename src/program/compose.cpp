#include "program/compose.h"

#include "collectors/ram.h"
#include "collectors/grafik.h"
#include "collectors/netzwerk.h"
#include "collectors/windows.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& state) {
  form.setFill(0, [&view, &platform] { Windows::Fill(platform, view); });
  form.setFill(4, [&view, &platform] { ram::Fill(platform.machine, view); });
  form.setFill(1,
               [&view, &platform, &state] { Grafik::Fill(platform, view, state.DirectXVersion); });
  form.setFill(2, [&view, &platform] { Netzwerk::Fill(platform, view); });
}

}  // namespace velkaro
