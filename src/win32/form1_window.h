// The main window on the window skeleton: made from the control table (control_host), painted by
// its painter (form1_paint), it shows the portable Form1's state (the View, form1_view.cpp) and
// forwards the user's mouse actions, its timer and the end of the program or the session to it.
#pragma once

#include <windows.h>

#include <string>

#include "app/form1.h"
#include "app/splash.h"
#include "app/view.h"
#include "win32/control_host.h"
#include "win32/form1_paint.h"
#include "win32/lade_window.h"
#include "win32/message_pump.h"
#include "win32/window.h"

namespace velkaro::win32 {

class Form1Window : public View, public MainWindow, public PaintedWindow {
 public:
  static constexpr const wchar_t* kClassName = L"VelkaroForm1";
  static constexpr UINT_PTR kTimer1Id = 1;  // Timer1, the status line

  Form1Window(HINSTANCE instance, MessagePump& pump, Pictures& pictures);
  ~Form1Window() override;

  Form1& form() { return form_; }

  // MainWindow
  void load() override;
  void show() override;

  // View (form1_view.cpp)
  void setText(int id, const std::string& text) override;
  std::string text(int id) override;
  void setVisible(int id, bool visible) override;
  bool isVisible(int id) override;
  void setForeColor(int id, Rgb color) override;
  Rgb foreColor(int id) override;
  void addItem(int id, const std::string& item) override;
  void clearItems(int id) override;
  void setValue(int id, int value) override;
  int value(int id) override;
  void beginWindowDrag() override;
  void endProgram() override;
  void setBusyPointer(bool busy) override;
  void messageBox(const std::string& text, MessageIcon icon) override;
  void showWaitWindow(bool shown) override;

  // Messages of the panels' and frames' windows (see OwnedWindowProc).
  LRESULT HandleContainer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Create();
  void ApplyDpi(int dpi);
  void Paint(HWND hwnd, HDC dc) override;
  bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // Mouse input on the controls that take it: moves, presses, and a click as a press and a
  // release on the same control.
  LRESULT HandleMouse(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id);
  void ButtonDown(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id);
  static LRESULT CALLBACK MouseProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);

  HINSTANCE instance_;
  MessagePump& pump_;
  Pictures& pictures_;
  Form1 form_{*this};
  LadeWindow lade_{instance_};
  ControlHost controls_{instance_};
  Form1Painter painter_{pictures_};
  int pressed_ = 0;  // control under a left-button press, until its release
  bool busy_ = false;
};

}  // namespace velkaro::win32
