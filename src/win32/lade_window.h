// The wait window "lade": a small fixed window without title text that asks the user to wait
// while the report is written. It has no behaviour of its own; it is not modal.
#pragma once

#include <windows.h>

#include "win32/gdi.h"
#include "win32/window.h"

namespace velkaro::win32 {

class LadeWindow : public PaintedWindow {
 public:
  static constexpr const wchar_t* kClassName = L"VelkaroLade";

  explicit LadeWindow(HINSTANCE instance);
  ~LadeWindow() override;

  // Creates the window (when it does not exist) centred on the screen, owned by `owner` so it
  // stays above it, and shows it painted without taking the focus.
  void show(HWND owner);
  // Destroys the window.
  void unload() { Destroy(); }

 private:
  void Paint(HWND hwnd, HDC dc) override;
  bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  HINSTANCE instance_;
  int dpi_ = 96;
  GdiObject<HFONT> font_;
  Brushes brushes_;
};

}  // namespace velkaro::win32
