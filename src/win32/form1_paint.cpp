// The main window's painting: its blue and edge lines, the panels' separator, the frames'
// etched borders with their captions, the drawn pictures, and the colours of the controls.
#include "win32/form1_window.h"
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

void Form1Window::PaintMain(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  DrawEdges(dc, brushes_, client, dpi_, true);
}

void Form1Window::PaintContainer(HWND hwnd, HDC dc) {
  Control* c = ControlOf(hwnd);
  if (!c) return;
  RECT client;
  GetClientRect(hwnd, &client);
  if (c->spec->kind == ControlKind::Panel) {
    const int x = TwipsToPixels(layout::kPanelSeparatorLeft, dpi_);
    const int margin = TwipsToPixels(120, dpi_);
    DrawEtchedLine(dc, x, margin, x, client.bottom - margin, dpi_);
    return;
  }
  // Frames: an etched border, interrupted by the caption when there is one.
  const std::wstring caption = Wide(c->spec->caption);
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
    FillRect(dc, &box, brushes_.get(c->spec->back));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ref(c->fore));
    TextOutW(dc, box.left + pad, 0, caption.c_str(), static_cast<int>(caption.size()));
  }
  SelectObject(dc, oldFont);
}

void Form1Window::DrawPicture(const DRAWITEMSTRUCT& item) {
  Control* c = ControlOf(item.hwndItem);
  if (!c) return;
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, brushes_.get(c->spec->back));
  if (c->spec->id == ids::kImage10) {
    // The strip covers the top left of the window's edge lines: it draws them itself.
    DrawEdges(item.hDC, brushes_, r, dpi_, false);
    return;
  }
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  if (HICON icon = pictures_.icon(c->spec->art, size))
    DrawIconEx(item.hDC, r.left + (r.right - r.left - size) / 2,
               r.top + (r.bottom - r.top - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
}

bool Form1Window::HandleColours(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: {
      Control* c = ControlOf(reinterpret_cast<HWND>(lp));
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
      DrawPicture(*item);
      result = TRUE;
      return true;
    }
  }
  return false;
}

}  // namespace velkaro::win32
