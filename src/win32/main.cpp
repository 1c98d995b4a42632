// The program's entry: the platform services, the windows and the start-up sequence.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/splash.h"
#include "win32/form1_window.h"
#include "program/compose.h"
#include "win32/splash_window.h"
#include "win32/platform_bundle.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace velkaro;
  using namespace velkaro::win32;

  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  // COM on the one user-interface thread, with the impersonation the management service needs.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (com)
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);

  Win32Platform services;
  Platform& platform = services.platform;
  MessagePump& pump = services.pump;
  AppState state;

  Pictures pictures(instance);
  Form1Window mainWindow(instance, pump, pictures);
  Compose(mainWindow.form(), mainWindow, platform, state);
  SplashWindow splash(instance, pictures);
  StartUp startUp(platform, state, splash, mainWindow);
  splash.onTimer([&startUp] { startUp.Splash_Timer1(); });

  startUp.Splash_Load();
  const int exitCode = pump.run();
  if (com) CoUninitialize();
  return exitCode;
}
