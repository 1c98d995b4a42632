#include "win32/gdi.h"

#include "win32/late_bound.h"

namespace velkaro::win32 {

int ResourceOf(Art art) {
#define VELKARO_RESOURCE(name, resource, ...) \
  case Art::name:                             \
    return resource;
  switch (art) {
    VELKARO_PICTURES(VELKARO_RESOURCE, VELKARO_RESOURCE, VELKARO_RESOURCE)
    case Art::None:
      break;
  }
#undef VELKARO_RESOURCE
  return 0;
}

int DpiOf(HWND hwnd) {
  // Both calls are newer than the oldest supported Windows (10 and 8.1).
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const LateBound<GetDpiForWindowFn> forWindow(L"user32.dll", "GetDpiForWindow");
  static const LateBound<GetDpiForMonitorFn> forMonitor(L"shcore.dll", "GetDpiForMonitor",
                                                        Dll::LoadIfNeeded);
  if (hwnd && forWindow) {
    const UINT dpi = forWindow(hwnd);
    if (dpi) return static_cast<int>(dpi);
  }
  if (forMonitor) {
    HMONITOR monitor = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0, y = 0;
    if (SUCCEEDED(forMonitor(monitor, 0 /* effective dpi */, &x, &y)) && y)
      return static_cast<int>(y);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

HBRUSH Brushes::get(Rgb color) {
  auto& brush = brushes_[Ref(color)];
  if (!brush.get()) brush.reset(CreateSolidBrush(Ref(color)));
  return brush.get();
}

HFONT MakeFont(const wchar_t* face, double points, bool bold, int dpi) {
  const int height = -static_cast<int>(points * dpi / 72.0 + 0.5);
  return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, face);
}

Pictures::~Pictures() {
  for (auto& [key, icon] : icons_)
    if (icon) DestroyIcon(icon);
}

HICON Pictures::Load(int resource, int size) {
  if (!resource) return nullptr;
  auto& icon = icons_[{resource, size}];
  if (!icon)
    icon = static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  return icon;
}

HICON Pictures::icon(Art art, int size) {
  return Load(ResourceOf(art), size);
}

HICON Pictures::programIcon(int size) {
  return icon(Art::Program, size);
}

void DrawEtchedLine(HDC dc, int x1, int y1, int x2, int y2, int dpi) {
  const int width = Scale(1, dpi);
  const bool vertical = x1 == x2;
  GdiObject<HPEN> dark(CreatePen(PS_SOLID, width, RGB(62, 99, 150)));
  GdiObject<HPEN> light(CreatePen(PS_SOLID, width, Ref(colors::kEdgeLight)));
  HGDIOBJ old = SelectObject(dc, dark.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, light.get());
  const int dx = vertical ? width : 0, dy = vertical ? 0 : width;
  MoveToEx(dc, x1 + dx, y1 + dy, nullptr);
  LineTo(dc, x2 + dx, y2 + dy);
  SelectObject(dc, old);
}

}  // namespace velkaro::win32
