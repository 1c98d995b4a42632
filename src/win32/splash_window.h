// The splash window: the program's picture with its name, shown while start-up runs.
#pragma once

#include <windows.h>

#include <functional>

#include "app/splash.h"
#include "win32/gdi.h"
#include "win32/window.h"

namespace velkaro::win32 {

class SplashWindow : public SplashScreen, public PaintedWindow {
 public:
  static constexpr const wchar_t* kClassName = L"VelkaroSplash";

  SplashWindow(HINSTANCE instance, Pictures& pictures);
  ~SplashWindow() override;

  // Runs on the first tick of the hand-over timer, which starts when the window is created.
  void onTimer(std::function<void()> tick) { tick_ = std::move(tick); }

  void show() override;
  void close() override { Destroy(); }  // its timer dies with it

 private:
  void Paint(HWND hwnd, HDC dc) override;
  bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  HINSTANCE instance_;
  Pictures& pictures_;
  GdiObject<HBITMAP> photo_;
  std::function<void()> tick_;
  int dpi_ = 96;
};

}  // namespace velkaro::win32
