// The bench's window: a View that keeps every control's state in memory, starting from the main
// window's control table, like a window that is never shown. It keeps what the program writes
// (texts, visibility, colours, values, list items) and the messages it shows; it draws nothing,
// records no history and ignores what only a shown window does (dragging, the pointer, the wait
// window).
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/view.h"
#include "text/text.h"

namespace velkaro::bench {

class MemoryView : public View {
 public:
  MemoryView() {
    for (const auto& spec : Form1Controls()) {
      Control& c = controls_[spec.id];
      c.text = spec.caption;
      c.visible = spec.visible;
      c.fore = spec.fore;
      c.value = spec.value;
    }
  }

  // Like a real field, a control holds its text only up to the first NUL.
  void setText(int id, const std::string& text) override { at(id).text = text::CutAtNul(text); }
  std::string text(int id) override { return at(id).text; }
  void setVisible(int id, bool visible) override { at(id).visible = visible; }
  bool isVisible(int id) override { return at(id).visible; }
  void setForeColor(int id, Rgb color) override { at(id).fore = color; }
  Rgb foreColor(int id) override { return at(id).fore; }
  void addItem(int id, const std::string& item) override { at(id).items.push_back(item); }
  void clearItems(int id) override { at(id).items.clear(); }
  void setValue(int id, int value) override { at(id).value = value; }
  int value(int id) override { return at(id).value; }
  void beginWindowDrag() override {}
  void endProgram() override {}
  void setBusyPointer(bool) override {}
  void messageBox(const std::string& text, MessageIcon icon) override {
    messages.push_back({text, icon});
  }
  void showWaitWindow(bool) override {}

  // The message boxes shown, in order.
  struct Message {
    std::string text;
    MessageIcon icon;
  };
  std::vector<Message> messages;

  struct Control {
    std::string text;
    bool visible = true;
    Rgb fore;
    std::vector<std::string> items;
    int value = 0;
  };
  const std::map<int, Control>& controls() const { return controls_; }

 protected:
  // A control the table does not have is the caller's mistake: it throws rather than keep one.
  Control& at(int id) {
    const auto it = controls_.find(id);
    if (it == controls_.end()) throw std::out_of_range("no control " + std::to_string(id));
    return it->second;
  }
  std::map<int, Control> controls_;
};

}  // namespace velkaro::bench
