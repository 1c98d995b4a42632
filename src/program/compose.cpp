#include "program/compose.h"

#include <memory>

#include "collectors/windows.h"
#include "report/report.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& state) {
  form.setFill(0, [&view, &platform] { Windows::Fill(platform, view); });
  auto report = std::make_shared<Report::Writer>(form, view, platform, state);
  form.setButtonAction(17, [report] { report->Image17_Click(); });
}

}  // namespace velkaro
