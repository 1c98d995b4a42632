// The main window: created from the control table, it shows the portable Form1's state and
// forwards the user's mouse actions to it.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "app/form1.h"
#include "app/splash.h"
#include "app/view.h"
#include "win32/gdi.h"
#include "win32/lade_window.h"
#include "win32/message_pump.h"

namespace velkaro::win32 {

class Form1Window : public View, public MainWindow {
 public:
  static constexpr const wchar_t* kClassName = L"VelkaroForm1";
  static constexpr const wchar_t* kContainerClassName = L"VelkaroContainer";
  static constexpr UINT_PTR kTimer1Id = 1;  // Timer1, the status line

  Form1Window(HINSTANCE instance, MessagePump& pump, Pictures& pictures);
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;
  ~Form1Window() override;

  Form1& form() { return form_; }
  HWND hwnd() const { return hwnd_; }

  // MainWindow
  void load() override;
  void show() override;

  // View
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

  // Window messages of the main window and of its panels and frames (see OwnedWindowProc).
  LRESULT HandleMain(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleContainer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  struct Control {
    const ControlSpec* spec = nullptr;
    HWND hwnd = nullptr;
    Rgb fore;
  };

  // Creation and look-ups (form1_window.cpp, form1_controls.cpp).
  static RECT PixelRect(const ControlSpec& spec, int dpi);
  static int ControlHeight(const ControlSpec& spec, const RECT& r, int dpi);
  void Create();
  void CreateControl(const ControlSpec& spec);
  void AddTooltip(const ControlSpec& spec, HWND parent, HWND control);
  void ApplyDpi(int dpi);
  HWND Handle(int id) const;
  HWND ParentHandle(int parentId) const;
  Control* ControlOf(HWND hwnd);
  // Painting (form1_paint.cpp).
  void PaintMain(HDC dc);
  void PaintContainer(HWND hwnd, HDC dc);
  void DrawPicture(const DRAWITEMSTRUCT& item);
  bool HandleColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Input, the timer, moves and dpi changes of the main window; mouse input on the controls that
  // take it (form1_messages.cpp).
  bool HandleEvents(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT HandleMouse(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id);
  void ButtonDown(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id);
  static LRESULT CALLBACK MouseProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                    DWORD_PTR self);

  HINSTANCE instance_;
  MessagePump& pump_;
  Pictures& pictures_;
  Form1 form_{*this};
  LadeWindow lade_{instance_};
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  std::map<int, Control> controls_;
  std::map<HWND, int> ids_;
  int dpi_ = 96;
  GdiObject<HFONT> arial_;
  GdiObject<HFONT> verdana_;
  Brushes brushes_;
  int pressed_ = 0;  // control under a left-button press, until its release
  bool busy_ = false;
};

}  // namespace velkaro::win32
