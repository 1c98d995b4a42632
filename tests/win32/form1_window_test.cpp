// The main window's status timer, Tab between its fields, and its progress bar and busy pointer,
// which the memory release drives.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/controls.h"
#include "win32/form1_window.h"

using namespace velkaro;

namespace {

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK ById(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  if (GetDlgCtrlID(hwnd) != s->id) return TRUE;
  s->found = hwnd;
  return FALSE;
}

HWND Descendant(HWND top, int id) {
  Search s{id, nullptr};
  EnumChildWindows(top, ById, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The cursor a control sets when the mouse moves over it.
HCURSOR CursorOver(HWND control) {
  SetCursor(nullptr);
  SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

}  // namespace

TEST(Form1Window, StatusTimerTabProgressBarAndBusyPointer) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  win32::MessagePump pump;
  win32::Pictures pictures(instance);
  win32::Form1Window window(instance, pump, pictures);
  window.load();
  ASSERT_NE(window.hwnd(), nullptr);

  HWND bar = Descendant(window.hwnd(), ids::kProgressBar1);
  ASSERT_NE(bar, nullptr);
  wchar_t cls[64] = {};
  GetClassNameW(bar, cls, 64);
  EXPECT_STREQ(cls, PROGRESS_CLASSW);
  EXPECT_EQ(GetDlgCtrlID(GetParent(bar)), ids::kFrame2);
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
  for (int value : {35, 100, 0}) {
    window.setValue(ids::kProgressBar1, value);
    EXPECT_EQ(window.value(ids::kProgressBar1), value);
  }

  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  const int over[] = {ids::Text1(53), ids::kLabel13, ids::kProgressBar1, ids::Image(18),
                      ids::P1(4)};
  window.setBusyPointer(true);
  EXPECT_EQ(GetCursor(), wait);
  for (int id : over) EXPECT_EQ(CursorOver(Descendant(window.hwnd(), id)), wait) << id;
  window.setBusyPointer(false);
  for (int id : over) EXPECT_NE(CursorOver(Descendant(window.hwnd(), id)), wait) << id;

  // The status line's timer: four ticks a second, so three come well within 2 s.
  int ticks = 0;
  window.form().setTimerAction([&] { ++ticks; });
  for (const DWORD start = GetTickCount(); ticks < 3 && GetTickCount() - start < 2000;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
  }
  EXPECT_GE(ticks, 3);

  // Tab moves from a field to the next one, through the program's own message loop.
  window.show();
  HWND field = Descendant(window.hwnd(), ids::Text1(0));
  SetFocus(field);
  ASSERT_EQ(GetFocus(), field);
  PostMessageW(field, WM_KEYDOWN, VK_TAB, 0);
  pump.doEvents();
  EXPECT_NE(GetFocus(), field);
  EXPECT_EQ(GetParent(GetFocus()), GetParent(field));
}
