#include "win32/form1_paint.h"

#include <algorithm>
#include <string>

#include "win32/wide.h"
#include "win32/window.h"

namespace velkaro::win32 {

namespace {

constexpr Rgb kEdgeDark{40, 70, 120};

// Two one-pixel lines along a rectangle's top and left (or all four) edges.
void DrawEdges(HDC dc, Brushes& brushes, const RECT& r, int dpi, bool allSides) {
  const int px = Scale(1, dpi);
  auto fill = [&](int l, int t, int rr, int b, Rgb c) {
    RECT line{l, t, rr, b};
    FillRect(dc, &line, brushes.get(c));
  };
  fill(r.left, r.top, r.right, r.top + px, kEdgeDark);
  fill(r.left, r.top, r.left + px, r.bottom, kEdgeDark);
  fill(r.left + px, r.top + px, r.right, r.top + 2 * px, colors::kEdgeLight);
  fill(r.left + px, r.top + px, r.left + 2 * px, r.bottom, colors::kEdgeLight);
  if (!allSides) return;
  fill(r.left, r.bottom - px, r.right, r.bottom, kEdgeDark);
  fill(r.right - px, r.top, r.right, r.bottom, kEdgeDark);
  fill(r.left + px, r.bottom - 2 * px, r.right - px, r.bottom - px, colors::kEdgeLight);
  fill(r.right - 2 * px, r.top + px, r.right - px, r.bottom - px, colors::kEdgeLight);
}

}  // namespace

void Form1Painter::setDpi(int dpi) {
  dpi_ = dpi;
  arial_.reset(MakeFont(L"Arial", 8.25, true, dpi));
  verdana_.reset(MakeFont(L"Verdana", 8.25, true, dpi));
}

void Form1Painter::paintForm(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brushes_.get(colors::kPanelBlue));
  DrawEdges(dc, brushes_, client, dpi_, true);
}

void Form1Painter::eraseContainer(HWND hwnd, HDC dc, const ControlHost::Control* control) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brushes_.get(control ? control->spec->back : colors::kPanelBlue));
}

void Form1Painter::paintContainer(HWND hwnd, HDC dc, const ControlHost::Control& control) {
  RECT client;
  GetClientRect(hwnd, &client);
  if (control.spec->kind == ControlKind::Panel) {
    const int x = TwipsToPixels(layout::kPanelSeparatorLeft, dpi_);
    const int margin = TwipsToPixels(120, dpi_);
    DrawEtchedLine(dc, x, margin, x, client.bottom - margin, dpi_);
    return;
  }
  // Frames: an etched border, interrupted by the caption when there is one.
  const std::wstring caption = Wide(control.spec->caption);
  HGDIOBJ oldFont = SelectObject(dc, arial_.get());
  SIZE textSize{};
  if (!caption.empty())
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
  const int top = caption.empty() ? 0 : textSize.cy / 2;
  const int right = client.right - Scale(2, dpi_), bottom = client.bottom - Scale(2, dpi_);
  DrawEtchedBox(dc, {0, top, right, bottom}, dpi_);
  if (!caption.empty()) {
    const int pad = Scale(4, dpi_);
    RECT box{Scale(8, dpi_), 0, Scale(8, dpi_) + textSize.cx + 2 * pad, textSize.cy};
    FillRect(dc, &box, brushes_.get(control.spec->back));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(control.fore));
    TextOutW(dc, box.left + pad, 0, caption.c_str(), static_cast<int>(caption.size()));
  }
  SelectObject(dc, oldFont);
}

void Form1Painter::DrawPicture(const DRAWITEMSTRUCT& item, const ControlHost::Control& control) {
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, brushes_.get(control.spec->back));
  if (control.spec->id == ids::kImage10) {
    // The strip covers the top left of the window's edge lines: it draws them itself.
    DrawEdges(item.hDC, brushes_, r, dpi_, false);
    return;
  }
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  if (HICON icon = pictures_.icon(control.spec->art, size))
    DrawIconEx(item.hDC, r.left + (r.right - r.left - size) / 2,
               r.top + (r.bottom - r.top - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
}

bool Form1Painter::colours(UINT msg, WPARAM wp, LPARAM lp, ControlHost& host, LRESULT& result) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:  // labels, and the value fields, which are read-only
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      const ControlHost::Control* c = host.find(reinterpret_cast<HWND>(lp));
      if (!c || c->spec->kind == ControlKind::ComboBox) return false;
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, Ref(c->fore));
      SetBkColor(dc, Ref(c->spec->back));
      result = reinterpret_cast<LRESULT>(brushes_.get(c->spec->back));
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_STATIC) return false;
      if (const ControlHost::Control* c = host.find(item->hwndItem)) DrawPicture(*item, *c);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace velkaro::win32
