// Connects the menu labels and buttons of the main window to the collectors and tools.
#pragma once

#include "app/app_state.h"
#include "app/form1.h"
#include "app/view.h"
#include "platform/platform.h"

namespace velkaro {

void ConnectCategories(Form1& form, View& view, Platform& platform, AppState& state);

}  // namespace velkaro
