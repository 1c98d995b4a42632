// The bench's in-memory view of every control, which also records what was done to it; and the
// main window composed over it and the platform's fakes.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/form1.h"
#include "fakes/fakes.h"
#include "memory_view.h"
#include "program/compose.h"

namespace velkaro::fakes {

class FakeView : public bench::MemoryView {
 public:
  void setText(int id, const std::string& text) override {
    MemoryView::setText(id, text);
    log.push_back("text " + Name(id) + "=" + at(id).text);
  }
  void setVisible(int id, bool visible) override {
    log.push_back("visible " + Name(id) + "=" + (visible ? "1" : "0"));
    MemoryView::setVisible(id, visible);
  }
  void setForeColor(int id, Rgb color) override {
    log.push_back("color " + Name(id));
    MemoryView::setForeColor(id, color);
  }
  void setValue(int id, int value) override {
    log.push_back("value " + Name(id) + "=" + std::to_string(value));
    MemoryView::setValue(id, value);
  }
  void beginWindowDrag() override { ++drags; }
  void endProgram() override { ++ends; }
  void setBusyPointer(bool busy) override {
    log.push_back(busy ? "pointer busy" : "pointer normal");
  }
  void messageBox(const std::string& text, MessageIcon icon) override {
    log.push_back(std::string("message ") + (icon == MessageIcon::Error ? "error " : "info ") +
                  text);
    MemoryView::messageBox(text, icon);
  }
  void showWaitWindow(bool shown) override { log.push_back(shown ? "lade shown" : "lade down"); }

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

 private:
  static std::string Name(int id) {
    const ControlSpec* spec = FindControl(id);
    return spec ? spec->name : "#" + std::to_string(id);
  }
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
