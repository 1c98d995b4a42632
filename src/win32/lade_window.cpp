#include "win32/lade_window.h"

#include "win32/window.h"

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
  Register(instance, kClassName, IDC_ARROW);
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
    if (!Create(instance_, kClassName, L"", style, exStyle, r.right - r.left, r.bottom - r.top,
                owner))
      return;
  }
  ShowWindow(hwnd_, SW_SHOWNA);
  UpdateWindow(hwnd_);
}

void LadeWindow::Paint(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brushes_.get(colors::kPanelBlue));
  auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };
  const int left = px(kFrame.left), top = px(kFrame.top);
  DrawEtchedBox(dc, {left, top, px(kFrame.right), px(kFrame.bottom)}, dpi_);
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

bool LadeWindow::OnMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg != WM_CLOSE) return false;
  result = 0;  // the run takes the window down, not the user
  return true;
}

}  // namespace velkaro::win32
