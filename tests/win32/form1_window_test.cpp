// The main window's status timer, Tab between its fields, its read-only value fields, its
// progress bar and busy pointer, which the memory release drives, and the session's end.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include <gtest/gtest.h>

#include "app/controls.h"
#include "win32/form1_window.h"
#include "win32/gdi.h"

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

// The real main window, loaded.
struct Form1WindowTest : testing::Test {
  Form1WindowTest() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    window.load();
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  win32::MessagePump pump;
  win32::Pictures pictures{instance};
  win32::Form1Window window{instance, pump, pictures};
};

std::wstring TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return text;
}

// The text on the clipboard, or "(none)".
std::wstring Clipboard() {
  std::wstring text = L"(none)";
  if (!OpenClipboard(nullptr)) return L"(not opened)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void SetClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

// What a control's parent answers to WM_CTLCOLORSTATIC for it: text, background and brush colour.
struct ColourAnswer {
  COLORREF text, back, brush;
};

ColourAnswer StaticColours(HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkColor(dc, RGB(4, 5, 6));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(control)));
  LOGBRUSH style{};
  const bool isBrush = brush && GetObjectW(brush, sizeof style, &style) == sizeof style;
  ColourAnswer answer{GetTextColor(dc), GetBkColor(dc), isBrush ? style.lbColor : CLR_INVALID};
  DeleteDC(dc);
  return answer;
}

// The icon of the message box the thread opens next, read once the box has set itself up; the
// box is then closed.
HICON g_boxIcon;
HHOOK g_hook;

BOOL CALLBACK IconOf(HWND control, LPARAM) {
  if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
    g_boxIcon = reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0));
  return TRUE;
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG) {
    EnumChildWindows(call->hwnd, IconOf, 0);
    PostMessageW(call->hwnd, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

HICON BoxIcon(win32::Form1Window& window, MessageIcon icon) {
  g_boxIcon = nullptr;
  g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
  window.messageBox("Velkaro", icon);
  UnhookWindowsHookEx(g_hook);
  return g_boxIcon;
}

}  // namespace

TEST_F(Form1WindowTest, AMessageShowsTheSystemsIconForItsKind) {
  ASSERT_NE(window.hwnd(), nullptr);
  EXPECT_EQ(BoxIcon(window, MessageIcon::Error), LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(BoxIcon(window, MessageIcon::Information), LoadIconW(nullptr, IDI_INFORMATION));
}

TEST_F(Form1WindowTest, StatusTimerTabProgressBarAndBusyPointer) {
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

  // The status line's timer: four ticks a second. Over 2 s eight are due; a loaded machine may
  // let some come late, none comes early: no two closer than 0.2 s, six at least.
  std::vector<DWORD> ticks;
  window.form().setTimerAction([&] { ticks.push_back(GetTickCount()); });
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
  }
  EXPECT_GE(ticks.size(), 6u);
  EXPECT_LE(ticks.size(), 9u);
  for (size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(ticks[i] - ticks[i - 1], 200u) << i;

  // Tab moves from a field to the next one, through the program's own message loop.
  window.show();
  HWND field = Descendant(window.hwnd(), ids::Text1(0));
  SetFocus(field);
  ASSERT_EQ(GetFocus(), field);
  PostMessageW(field, WM_KEYDOWN, VK_TAB, 0);
  pump.doEvents();
  EXPECT_EQ(GetFocus(), Descendant(window.hwnd(), ids::Text1(11)));  // the panel's next row
}

TEST_F(Form1WindowTest,
       ValueFieldsCanBeSelectedAndCopiedButNotTypedIntoAndKeepTheirColoursAndFont) {
  ASSERT_NE(window.hwnd(), nullptr);
  window.show();
  HWND field = Descendant(window.hwnd(), ids::Text1(0));
  ASSERT_NE(field, nullptr);
  window.setText(ids::Text1(0), "Windows XP Professional");
  SetFocus(field);

  // Typing over the whole text, pasting, cutting, deleting: the field keeps its text.
  SetClipboard(L"pasted");
  SendMessageW(field, EM_SETSEL, 0, -1);
  for (const WPARAM c : {WPARAM{L'x'}, WPARAM{L'\b'}}) SendMessageW(field, WM_CHAR, c, 0);
  for (const UINT edit : {WM_PASTE, WM_CUT, WM_CLEAR}) SendMessageW(field, edit, 0, 0);
  EXPECT_EQ(TextOf(field), L"Windows XP Professional");
  EXPECT_EQ(window.text(ids::Text1(0)), "Windows XP Professional");

  // A part of it can be selected and copied.
  SendMessageW(field, EM_SETSEL, 8, 10);
  SendMessageW(field, WM_COPY, 0, 0);
  EXPECT_EQ(Clipboard(), L"XP");

  // A read-only field asks its panel for colours as a label does, and gets its own: white on the
  // panel's blue, where the label beside it is dark grey.
  const ControlSpec& spec = *FindControl(ids::Text1(0));
  const ColourAnswer answer = StaticColours(field);
  EXPECT_EQ(answer.text, win32::Ref(spec.fore));
  EXPECT_EQ(answer.back, win32::Ref(spec.back));
  EXPECT_EQ(answer.brush, win32::Ref(spec.back));
  const ColourAnswer label = StaticColours(Descendant(window.hwnd(), ids::Label11(0)));
  EXPECT_EQ(label.text, win32::Ref(FindControl(ids::Label11(0))->fore));
  EXPECT_NE(label.text, answer.text);

  // And its font: Arial, bold, 8.25 points at the screen's dpi.
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0));
  ASSERT_EQ(GetObjectW(handle, sizeof font, &font), int{sizeof font});
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(825, GetDeviceCaps(screen, LOGPIXELSY), 7200));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_STREQ(font.lfFaceName, L"Arial");
}

TEST_F(Form1WindowTest, TheSessionsEndRunsTheUnloadActionsInsideItsMessageAndEndsTheProgram) {
  ASSERT_NE(window.hwnd(), nullptr);
  window.show();
  int unloads = 0;
  window.form().addUnloadAction([&] { ++unloads; });
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageW(window.hwnd(), WM_ENDSESSION, FALSE, 0);  // the end was called off
  EXPECT_EQ(unloads, 0);
  EXPECT_FALSE(pump.ending());
  EXPECT_TRUE(IsWindowVisible(window.hwnd()));
  // Windows may end the process as soon as the message returns: by then it is all done.
  SendMessageW(window.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(unloads, 1);
  EXPECT_TRUE(pump.ending());
  EXPECT_FALSE(IsWindowVisible(window.hwnd()));
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
