// The main window as the portable controller sees it. Controls are addressed by their IDs
// (app/controls.h). The real window implements it with Win32 controls; tests use a fake.
#pragma once

#include <string>

#include "app/layout.h"

namespace velkaro {

enum class MessageIcon { Information, Error };

class View {
 public:
  virtual ~View() = default;

  // Text of a field, label, check box or combo box (UTF-8), as the control holds it. A control
  // holds text only up to its first NUL: of a multi-string, the first string.
  virtual void setText(int id, const std::string& text) = 0;
  virtual std::string text(int id) = 0;

  // The control's own visibility flag (a control in a hidden panel keeps its flag).
  virtual void setVisible(int id, bool visible) = 0;
  virtual bool isVisible(int id) = 0;

  virtual void setForeColor(int id, Rgb color) = 0;
  virtual Rgb foreColor(int id) = 0;

  // Items of a combo box or list box.
  virtual void addItem(int id, const std::string& item) = 0;
  virtual void clearItems(int id) = 0;

  // Value of a check box (0 unticked, 1 ticked, 2 greyed) or progress bar.
  virtual void setValue(int id, int value) = 0;
  virtual int value(int id) = 0;

  // Lets the window manager move the window as if its title bar had been grabbed.
  virtual void beginWindowDrag() = 0;

  // Ends the program at once.
  virtual void endProgram() = 0;

  // The hourglass over the program's windows while busy, the normal pointer otherwise.
  virtual void setBusyPointer(bool busy) = 0;
  // A modal message box with an OK button and the program's title; returns when it is closed.
  virtual void messageBox(const std::string& text, MessageIcon icon) = 0;
  // Shows or takes down the wait window "lade" (not modal).
  virtual void showWaitWindow(bool shown) = 0;
};

}  // namespace velkaro
