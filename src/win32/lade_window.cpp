#include "win32/lade_window.h"

namespace velkaro::win32 {

namespace {

// Geometry in twips: the frame Frame1 inside the client area, the two labels inside the frame.
constexpr int kClientWidth = 3855;
constexpr int kClientHeight = 2505;
constexpr RECT kFrame{120, 60, 120 + 3615, 60 + 2325};
constexpr int kLabelWidth = 3375;
constexpr int kLabelHeight = 1935;
struct LabelSpec {
  int left, top;
  bool shadow;
};
// Label1(0), the grey shadow, is drawn first; Label1(1) in the default text colour over it.
constexpr LabelSpec kLabels[] = {{120, 240, true}, {140, 270, false}};
constexpr COLORREF kShadowGrey = RGB(128, 128, 128);
constexpr const wchar_t* kText =
    L"Bitte warten Sie einen Moment, bis die Daten ausgewertet wurden...";

}  // namespace

LadeWindow::LadeWindow(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

LadeWindow::~LadeWindow() {
  unload();
}

void LadeWindow::show(HWND owner) {
  if (!hwnd_) {
    dpi_ = DpiOf(owner);
    font_.reset(MakeFont(L"Georgia", 15.75, true, dpi_));
    // A fixed dialog frame without title text, system menu or size buttons, and so without a
    // title bar at all.
    const DWORD style = WS_POPUP | WS_DLGFRAME;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT r{0, 0, TwipsToPixels(kClientWidth, dpi_), TwipsToPixels(kClientHeight, dpi_)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const POINT at = CentredOnWorkArea(width, height);
    hwnd_ = CreateWindowExW(exStyle, kClassName, L"", style, at.x, at.y, width, height, owner,
                            nullptr, instance_, this);
    if (!hwnd_) return;
  }
  ShowWindow(hwnd_, SW_SHOWNA);
  UpdateWindow(hwnd_);
}

void LadeWindow::unload() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

void LadeWindow::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, brushes_.get(colors::kPanelBlue));
  auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };
  const int left = px(kFrame.left), top = px(kFrame.top);
  const int right = px(kFrame.right), bottom = px(kFrame.bottom);
  DrawEtchedLine(dc, left, top, right, top, dpi_);
  DrawEtchedLine(dc, left, top, left, bottom, dpi_);
  DrawEtchedLine(dc, left, bottom, right, bottom, dpi_);
  DrawEtchedLine(dc, right, top, right, bottom, dpi_);
  HGDIOBJ oldFont = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  for (const LabelSpec& label : kLabels) {
    RECT box{left + px(label.left), top + px(label.top), left + px(label.left + kLabelWidth),
             top + px(label.top + kLabelHeight)};
    SetTextColor(dc, label.shadow ? kShadowGrey : GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, kText, -1, &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
}

LRESULT CALLBACK LadeWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<LadeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT:
      if (self && self->hwnd_ == hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        self->Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
      }
      break;
    case WM_CLOSE:
      return 0;  // the run takes the window down, not the user
    case WM_NCDESTROY:
      // Also destroyed with its owner, the main window.
      if (self && self->hwnd_ == hwnd) self->hwnd_ = nullptr;
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace velkaro::win32
