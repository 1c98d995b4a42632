// The main window's controls, made from the control table: their windows, their places and fonts
// at the window's dpi, their tool tips, and the way from a control's ID to its window and back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>

#include "app/layout.h"

namespace velkaro::win32 {

class ControlHost {
 public:
  // One control: its row of the table, its window, its text colour of the moment.
  struct Control {
    const ControlSpec* spec = nullptr;
    HWND hwnd = nullptr;
    Rgb fore;
  };
  // The class of the panels' and frames' windows; its window procedure is the owner's.
  static constexpr const wchar_t* kContainerClassName = L"VelkaroContainer";

  explicit ControlHost(HINSTANCE instance) : instance_(instance) {}

  // Makes every control of the table inside `form` at the dpi. A panel or frame gets
  // `containerOwner` as its creation parameter; a control that takes the mouse is subclassed
  // with `mouse` (its ID as the subclass ID, `data` as its data).
  void create(HWND form, int dpi, void* containerOwner, SUBCLASSPROC mouse, DWORD_PTR data);
  // Places and sizes every control for the dpi and gives it its font.
  void place(int dpi, HFONT arial, HFONT verdana);
  // The windows are gone (the form is being destroyed).
  void clear();

  HWND window(int id) const;
  Control* find(int id);
  Control* find(HWND hwnd);
  // The control's place in the form's pixels at the dpi, both edges from twips.
  static RECT PixelRect(const ControlSpec& spec, int dpi);

 private:
  void CreateControl(const ControlSpec& spec, int dpi, void* containerOwner, SUBCLASSPROC mouse,
                     DWORD_PTR data);
  void AddTooltip(const ControlSpec& spec, HWND parent, HWND control);

  HINSTANCE instance_;
  HWND form_ = nullptr;
  HWND tooltip_ = nullptr;
  std::map<int, Control> controls_;
  std::map<HWND, int> ids_;
};

}  // namespace velkaro::win32
