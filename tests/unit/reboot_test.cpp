#include "tools/reboot.h"

#include <gtest/gtest.h>

#include "fakes/fake_form.h"

using namespace velkaro;
using Calls = std::vector<std::string>;

TEST(Reboot, EachCodeMakesExactlyItsCallAndOthersNone) {
  const Calls powerOff = {"privilege", "ExitWindowsEx 8 4294967295"};
  const Calls restart = {"privilege", "ExitWindowsEx 2 4294967295"};
  const Calls hibernate = {"privilege", "SetSuspendState 1 0 0"};
  const struct {
    const char* code;
    Calls calls;
  } cases[] = {
      {"0", powerOff},  {"1", restart},     {"2", {"ExitWindowsEx 0 4294967295"}},
      {"3", hibernate}, {" 3 ", hibernate}, {"1.0", restart},
      {"4", {}},        {"-1", {}},         {"0.5", {}},
      {"x", {}},        {"", {}},           {"1x", {}},
      {"0x1", {}},      {"nan", {}},
  };
  for (const auto& c : cases) {
    fakes::FakePower power;
    power.succeeds = false;  // a refused call changes nothing
    Reboot::PowerAction(power, c.code);
    EXPECT_EQ(power.calls, c.calls) << "code \"" << c.code << "\"";
  }
}

TEST(Reboot, ButtonsCallTheirActions) {
  const struct {
    int image;
    Calls calls;
  } cases[] = {
      {4, {"privilege", "ExitWindowsEx 8 4294967295"}},
      {5, {"privilege", "ExitWindowsEx 2 4294967295"}},
      {6, {"ExitWindowsEx 0 4294967295"}},
      {3, {"privilege", "SetSuspendState 1 0 0"}},
      {7, {"LockWorkStation"}},
  };
  for (const auto& c : cases) {
    fakes::ComposedForm<> window;
    window.form.OnClick(ids::Image(c.image));
    EXPECT_EQ(window.fake.power.calls, c.calls) << "Image" << c.image;
    EXPECT_TRUE(window.fake.shell.started.empty());
  }
}
