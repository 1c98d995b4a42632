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

void DrawEtchedBox(HDC dc, const RECT& box, int dpi) {
  DrawEtchedLine(dc, box.left, box.top, box.right, box.top, dpi);
  DrawEtchedLine(dc, box.left, box.top, box.left, box.bottom, dpi);
  DrawEtchedLine(dc, box.left, box.bottom, box.right, box.bottom, dpi);
  DrawEtchedLine(dc, box.right, box.top, box.right, box.bottom, dpi);
}

}  // namespace velkaro::win32
