#include "win32/splash_window.h"

#include "velkaro_version.h"
#include "win32/window.h"

namespace velkaro::win32 {

namespace {

constexpr UINT_PTR kTimer1 = 1;

}  // namespace

SplashWindow::SplashWindow(HINSTANCE instance, Pictures& pictures)
    : instance_(instance), pictures_(pictures) {
  Register(instance, kClassName, IDC_APPSTARTING);
  photo_.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(ResourceOf(Art::Splash)),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SplashWindow::~SplashWindow() {
  close();
}

void SplashWindow::show() {
  if (!hwnd_) {
    dpi_ = DpiOf(nullptr);
    if (!Create(instance_, kClassName, VELKARO_TITLE_W, WS_POPUP, WS_EX_TOOLWINDOW,
                TwipsToPixels(layout::kSplashWidth, dpi_),
                TwipsToPixels(layout::kSplashHeight, dpi_), nullptr))
      return;
    SetTimer(hwnd_, kTimer1, Splash::kHandOverMs, nullptr);
  }
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void SplashWindow::Paint(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (photo_.get()) {
    BITMAP bm{};
    GetObjectW(photo_.get(), sizeof(bm), &bm);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, photo_.get());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else {
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }

  // The program's name and version in the calm sky at the top left.
  SetBkMode(dc, TRANSPARENT);
  GdiObject<HFONT> title(MakeFont(L"Arial", 20, true, dpi_));
  GdiObject<HFONT> small(MakeFont(L"Arial", 8.25, true, dpi_));
  HGDIOBJ oldFont = SelectObject(dc, title.get());
  const int left = Scale(18, dpi_);
  RECT shadow{left + Scale(1, dpi_), Scale(15, dpi_) + Scale(1, dpi_), client.right, client.bottom};
  SetTextColor(dc, RGB(10, 20, 40));
  DrawTextW(dc, VELKARO_TITLE_W, -1, &shadow, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  RECT text{left, Scale(15, dpi_), client.right, client.bottom};
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextW(dc, VELKARO_TITLE_W, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, small.get());
  RECT version{left + Scale(2, dpi_), Scale(48, dpi_), client.right, client.bottom};
  SetTextColor(dc, RGB(200, 214, 240));
  DrawTextW(dc, L"Version " VELKARO_VERSION_TEXT, -1, &version,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  // Image2: the program icon, 960 x 960 twips at (2520, 2160).
  const int iconSize = TwipsToPixels(960, dpi_);
  DrawIconEx(dc, TwipsToPixels(2520, dpi_), TwipsToPixels(2160, dpi_),
             pictures_.programIcon(iconSize), iconSize, iconSize, 0, nullptr, DI_NORMAL);

  // Shape1: a rectangle outline over the whole window, border width 2.
  GdiObject<HPEN> pen(CreatePen(PS_INSIDEFRAME, Scale(2, dpi_), RGB(0, 0, 0)));
  HGDIOBJ oldPen = SelectObject(dc, pen.get());
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, 0, 0, TwipsToPixels(6015, dpi_), TwipsToPixels(4520, dpi_));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

bool SplashWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_TIMER || wp != kTimer1) return false;
  KillTimer(hwnd, kTimer1);
  if (tick_) tick_();  // may destroy this window: nothing may follow
  result = 0;
  return true;
}

}  // namespace velkaro::win32
