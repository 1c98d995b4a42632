#include "win32/form1_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "velkaro_version.h"

namespace velkaro::win32 {

namespace {

constexpr UINT kTimer1Interval = 250;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED: moved to a monitor with another dpi

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, MessagePump& pump, Pictures& pictures)
    : instance_(instance), pump_(pump), pictures_(pictures) {
  Register(instance, kClassName, IDC_ARROW);
  RegisterWindowClass(instance, ControlHost::kContainerClassName,
                      OwnedWindowProc<Form1Window, &Form1Window::HandleContainer>);
}

Form1Window::~Form1Window() {
  Destroy();
  controls_.clear();
}

void Form1Window::load() {
  if (!hwnd_) Create();
  if (!hwnd_) return;
  pump_.setDialogWindow(hwnd_);
  SetTimer(hwnd_, kTimer1Id, kTimer1Interval, nullptr);
  form_.Form_Load();
}

void Form1Window::show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // Paint everything now, so the window appears complete.
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Form1Window::Create() {
  const int dpi = DpiOf(nullptr);
  if (!PaintedWindow::Create(instance_, kClassName, VELKARO_TITLE_W,
                             WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                             WS_EX_CONTROLPARENT | WS_EX_APPWINDOW,
                             TwipsToPixels(layout::kFormWidth, dpi),
                             TwipsToPixels(layout::kFormHeight, dpi), nullptr))
    return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(pictures_.programIcon(GetSystemMetrics(SM_CXICON))));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(pictures_.programIcon(GetSystemMetrics(SM_CXSMICON))));
  controls_.create(hwnd_, dpi, this, MouseProc, reinterpret_cast<DWORD_PTR>(this));
  ApplyDpi(DpiOf(hwnd_));
}

void Form1Window::ApplyDpi(int dpi) {
  painter_.setDpi(dpi);
  SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixels(layout::kFormWidth, dpi),
               TwipsToPixels(layout::kFormHeight, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.place(dpi, painter_.arial(), painter_.verdana());
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::Paint(HWND hwnd, HDC dc) {
  painter_.paintForm(hwnd, dc);
}

bool Form1Window::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (painter_.colours(msg, wp, lp, controls_, result)) return true;
  result = 0;
  switch (msg) {
    case WM_MOUSEMOVE:
      form_.OnMouseMove(ids::kForm);
      return true;
    case WM_SETCURSOR:
      if (!busy_) return false;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      result = TRUE;
      return true;
    case WM_TIMER:
      if (wp != kTimer1Id) return false;
      form_.Timer1_Timer();
      return true;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      pump_.setSystemLoop(msg == WM_ENTERSIZEMOVE);
      return true;
    case kDpiChanged: {
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wp));
      return true;
    }
    case WM_CLOSE:
      // Alt+F4 or the taskbar's close: the same immediate end as the close button.
      endProgram();
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;  // nothing here keeps Windows from ending the session
      return true;
    case WM_ENDSESSION:
      // Windows may end the process as soon as this returns: what is half done goes now.
      if (wp) form_.Form_Unload();
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return true;
  }
  return false;
}

LRESULT Form1Window::HandleContainer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (painter_.colours(msg, wp, lp, controls_, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND:
      painter_.eraseContainer(hwnd, reinterpret_cast<HDC>(wp), controls_.find(hwnd));
      return 1;
    case WM_PAINT:
      PaintWindow(hwnd, [this, hwnd](HDC dc) {
        if (const ControlHost::Control* c = controls_.find(hwnd))
          painter_.paintContainer(hwnd, dc, *c);
      });
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Form1Window::HandleMouse(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id) {
  switch (msg) {
    case WM_MOUSEMOVE:
      form_.OnMouseMove(id);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      ButtonDown(hwnd, msg, wp, lp, id);
      return 0;
    case WM_LBUTTONUP: {
      if (pressed_ != id) return 0;
      pressed_ = 0;
      ReleaseCapture();
      RECT client;
      GetClientRect(hwnd, &client);
      const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (PtInRect(&client, at)) form_.OnClick(id);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (pressed_ == id && reinterpret_cast<HWND>(lp) != hwnd) pressed_ = 0;
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

void Form1Window::ButtonDown(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, int id) {
  const bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
  const bool right = msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK;
  const int button = left ? 1 : right ? 2 : 4;
  const int shift =
      ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
  const float twipsPerPixel = static_cast<float>(layout::kTwipsPerInch) / painter_.dpi();
  const float x = static_cast<float>(GET_X_LPARAM(lp)) * twipsPerPixel;
  const float y = static_cast<float>(GET_Y_LPARAM(lp)) * twipsPerPixel;
  if (left) {
    // A click is a press and a release on the same control.
    pressed_ = id;
    SetCapture(hwnd);
  }
  form_.OnMouseDown(id, button, shift, x, y);
}

LRESULT CALLBACK Form1Window::MouseProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, MouseProc, id);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  return reinterpret_cast<Form1Window*>(self)->HandleMouse(hwnd, msg, wp, lp, static_cast<int>(id));
}

}  // namespace velkaro::win32
