// The splash window: the program's picture with its name, shown while start-up runs.
#pragma once

#include <windows.h>

#include <functional>

#include "app/splash.h"
#include "win32/gdi.h"

namespace velkaro::win32 {

class SplashWindow : public SplashScreen {
 public:
  static constexpr const wchar_t* kClassName = L"VelkaroSplash";

  SplashWindow(HINSTANCE instance, Pictures& pictures);
  SplashWindow(const SplashWindow&) = delete;
  SplashWindow& operator=(const SplashWindow&) = delete;
  ~SplashWindow() override;

  // Runs on the first tick of the hand-over timer, which starts when the window is created.
  void onTimer(std::function<void()> tick) { tick_ = std::move(tick); }

  void show() override;
  void close() override;

  // The window's messages (see OwnedWindowProc).
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 private:
  void Paint(HWND hwnd, HDC dc);

  HINSTANCE instance_;
  Pictures& pictures_;
  HWND hwnd_ = nullptr;
  GdiObject<HBITMAP> photo_;
  std::function<void()> tick_;
  int dpi_ = 96;
};

}  // namespace velkaro::win32
