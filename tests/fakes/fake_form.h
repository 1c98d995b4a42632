// A main window wired over the fakes the way the program composes it.
#pragma once

#include "app/app_state.h"
#include "app/form1.h"
#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"
#include "program/compose.h"

namespace velkaro::fakes {

template <typename ViewType = FakeView>
struct ComposedForm {
  ComposedForm() { Compose(form, view, fake.platform, state); }
  FakePlatform fake;
  ViewType view;
  AppState state;
  Form1 form{view};
};

}  // namespace velkaro::fakes
