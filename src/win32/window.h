// The skeleton the program's windows are built on: class registration, creation centred on the
// screen's work area, and the window procedure that hands a window's messages to its C++ owner.
#pragma once

#include <windows.h>

namespace velkaro::win32 {

// Registers a window class of this process; registering the same name again does nothing.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                         const wchar_t* cursor = IDC_ARROW);

// Creates a top-level window whose outer size is width x height, centred on the work area.
// `owner` receives the window's messages (see OwnedWindowProc).
HWND CreateCentredWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                         DWORD style, DWORD exStyle, int width, int height, HWND parent,
                         void* owner);

// The window procedure of windows that belong to an object of type Owner: the object comes as
// the creation parameter and gets every message through its member HandleMessage(hwnd, msg, wp,
// lp) (or the one named), the last one (WM_NCDESTROY) included; after that the window no longer
// reaches it.
template <typename Owner,
          LRESULT (Owner::*Handler)(HWND, UINT, WPARAM, LPARAM) = &Owner::HandleMessage>
LRESULT CALLBACK OwnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!owner) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  return (owner->*Handler)(hwnd, msg, wp, lp);
}

// Runs paint(dc) between BeginPaint and EndPaint.
template <typename Paint>
void PaintWindow(HWND hwnd, Paint paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  paint(dc);
  EndPaint(hwnd, &ps);
}

// A top-level window its owner paints whole: it keeps its handle from creation to destruction,
// takes the background erase itself and paints through Paint(); OnMessage() may take the rest.
class PaintedWindow {
 public:
  PaintedWindow(const PaintedWindow&) = delete;
  PaintedWindow& operator=(const PaintedWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  // The window's messages (see OwnedWindowProc).
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

 protected:
  PaintedWindow() = default;
  virtual ~PaintedWindow() = default;
  // Registers the class of windows of this kind (once per name).
  static void Register(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor);
  // Creates the window centred on the work area (see CreateCentredWindow); false on failure.
  bool Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title, DWORD style,
              DWORD exStyle, int width, int height, HWND parent);
  // Destroys the window, when there is one.
  void Destroy();
  virtual void Paint(HWND hwnd, HDC dc) = 0;
  // A message the skeleton leaves: true when taken, with its result.
  virtual bool OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HWND hwnd_ = nullptr;
};

// An etched frame: the thin light-and-dark line pair on all four sides of the box.
void DrawEtchedBox(HDC dc, const RECT& box, int dpi);

}  // namespace velkaro::win32
