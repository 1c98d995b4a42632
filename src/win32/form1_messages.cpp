// The main window's messages: mouse input forwarded to Form1, the timer, the system's move
// loop, dpi changes, the end and the end of the Windows session.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "win32/form1_window.h"
#include "win32/window.h"

namespace velkaro::win32 {

LRESULT Form1Window::HandleMain(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleColours(msg, wp, lp, result) || HandleEvents(hwnd, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      controls_.clear();
      ids_.clear();
      break;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wp), &client, brushes_.get(colors::kPanelBlue));
      return 1;
    }
    case WM_PAINT:
      PaintWindow(hwnd, [this](HDC dc) { PaintMain(dc); });
      return 0;
    case WM_CLOSE:
      // Alt+F4 or the taskbar's close: the same immediate end as the close button.
      endProgram();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // nothing here keeps Windows from ending the session
    case WM_ENDSESSION:
      // Windows may end the process as soon as this returns: what is half done goes now.
      if (wp) form_.Form_Unload();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool Form1Window::HandleEvents(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
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
    case 0x02E0: {  // WM_DPICHANGED: the window moved to a monitor with another dpi
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wp));
      return true;
    }
  }
  return false;
}

LRESULT Form1Window::HandleContainer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleColours(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      Control* c = ControlOf(hwnd);
      FillRect(reinterpret_cast<HDC>(wp), &client,
               brushes_.get(c ? c->spec->back : colors::kPanelBlue));
      return 1;
    }
    case WM_PAINT:
      PaintWindow(hwnd, [this, hwnd](HDC dc) { PaintContainer(hwnd, dc); });
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
  const float x = static_cast<float>(GET_X_LPARAM(lp)) * layout::kTwipsPerInch / dpi_;
  const float y = static_cast<float>(GET_Y_LPARAM(lp)) * layout::kTwipsPerInch / dpi_;
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
