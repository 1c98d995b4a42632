#include "win32/window.h"

#include "win32/gdi.h"

namespace velkaro::win32 {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                         const wchar_t* cursor) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, cursor);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // fails harmlessly when the class is there already
}

HWND CreateCentredWindow(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                         DWORD style, DWORD exStyle, int width, int height, HWND parent,
                         void* owner) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         instance, owner);
}

void PaintedWindow::Register(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor) {
  RegisterWindowClass(instance, className, OwnedWindowProc<PaintedWindow>, cursor);
}

bool PaintedWindow::Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title,
                           DWORD style, DWORD exStyle, int width, int height, HWND parent) {
  return CreateCentredWindow(instance, className, title, style, exStyle, width, height, parent,
                             this) != nullptr;
}

void PaintedWindow::Destroy() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

bool PaintedWindow::OnMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

LRESULT PaintedWindow::HandleMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_NCCREATE:
      hwnd_ = hwnd;
      break;
    case WM_NCDESTROY:
      if (hwnd_ == hwnd) hwnd_ = nullptr;
      break;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      PaintWindow(hwnd, [this, hwnd](HDC dc) { Paint(hwnd, dc); });
      return 0;
    default:
      if (OnMessage(hwnd, msg, wp, lp, result)) return result;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void DrawEtchedBox(HDC dc, const RECT& box, int dpi) {
  DrawEtchedLine(dc, box.left, box.top, box.right, box.top, dpi);
  DrawEtchedLine(dc, box.left, box.top, box.left, box.bottom, dpi);
  DrawEtchedLine(dc, box.left, box.bottom, box.right, box.bottom, dpi);
  DrawEtchedLine(dc, box.right, box.top, box.right, box.bottom, dpi);
}

}  // namespace velkaro::win32
