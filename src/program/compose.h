// Puts the program together: connects the main window's menu labels, buttons, load and timer to
// the collectors, the report, the tools and the status line. It sits above all of them, so the
// layers below never include each other upwards.
#pragma once

#include "app/app_state.h"
#include "app/form1.h"
#include "app/view.h"
#include "platform/platform.h"

namespace velkaro {

void Compose(Form1& form, View& view, Platform& platform, AppState& state);

}  // namespace velkaro
