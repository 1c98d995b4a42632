// A view that keeps every control's state in memory, starting from the design table, and
// records what was done to it; and the main window composed over it and the platform's fakes.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/form1.h"
#include "app/view.h"
#include "fakes/fakes.h"
#include "program/compose.h"
#include "text/text.h"

namespace velkaro::fakes {

class FakeView : public View {
 public:
  struct Control {
    std::string text;
    bool visible = true;
    Rgb fore;
    std::vector<std::string> items;
    int value = 0;
  };

  FakeView() {
    for (const auto& spec : Form1Controls()) {
      Control& c = controls_[spec.id];
      c.text = spec.caption;
      c.visible = spec.visible;
      c.fore = spec.fore;
      c.value = spec.value;
    }
  }

  // Like a real field, a control holds its text only up to the first NUL.
  void setText(int id, const std::string& text) override {
    const std::string held = text::CutAtNul(text);
    log.push_back("text " + Name(id) + "=" + held);
    at(id).text = held;
  }
  std::string text(int id) override { return at(id).text; }
  void setVisible(int id, bool visible) override {
    log.push_back("visible " + Name(id) + "=" + (visible ? "1" : "0"));
    at(id).visible = visible;
  }
  bool isVisible(int id) override { return at(id).visible; }
  void setForeColor(int id, Rgb color) override {
    log.push_back("color " + Name(id));
    at(id).fore = color;
  }
  Rgb foreColor(int id) override { return at(id).fore; }
  void addItem(int id, const std::string& item) override { at(id).items.push_back(item); }
  void clearItems(int id) override { at(id).items.clear(); }
  void setValue(int id, int value) override {
    log.push_back("value " + Name(id) + "=" + std::to_string(value));
    at(id).value = value;
  }
  int value(int id) override { return at(id).value; }
  void beginWindowDrag() override { ++drags; }
  void endProgram() override { ++ends; }
  void setBusyPointer(bool busy) override {
    log.push_back(busy ? "pointer busy" : "pointer normal");
  }
  void messageBox(const std::string& text, MessageIcon icon) override {
    log.push_back(std::string("message ") + (icon == MessageIcon::Error ? "error " : "info ") +
                  text);
    messages.push_back({text, icon});
  }
  void showWaitWindow(bool shown) override { log.push_back(shown ? "lade shown" : "lade down"); }

  const std::map<int, Control>& controls() const { return controls_; }
  // The panels whose own flag says visible.
  std::vector<int> visiblePanels() {
    std::vector<int> shown;
    for (int p = 0; p < ids::kPanelCount; ++p)
      if (at(ids::P1(p)).visible) shown.push_back(p);
    return shown;
  }

  std::vector<std::string> log;
  int drags = 0;
  int ends = 0;
  struct Message {
    std::string text;
    MessageIcon icon;
  };
  std::vector<Message> messages;

 private:
  static std::string Name(int id) {
    const ControlSpec* spec = FindControl(id);
    return spec ? spec->name : "#" + std::to_string(id);
  }
  Control& at(int id) {
    const auto it = controls_.find(id);
    if (it == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
  }
  std::map<int, Control> controls_;
};

// A main window wired over the fakes the way the program composes it.
template <typename ViewType = FakeView>
struct ComposedForm {
  ComposedForm() { Compose(form, view, fake.platform, state); }
  FakePlatform fake;
  ViewType view;
  AppState state;
  Form1 form{view};
};

}  // namespace velkaro::fakes
