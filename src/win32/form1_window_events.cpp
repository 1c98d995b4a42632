// The main window's painting and its window messages: colours of the controls, the drawn
// pictures and edges, mouse input forwarded to Form1, the timer, dpi changes and the end.
#include "win32/form1_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

constexpr Rgb kEdgeDark{40, 70, 120};
constexpr Rgb kEdgeLight{168, 196, 232};

// Two one-pixel lines along a rectangle's top and left (or all four) edges.
void DrawEdges(HDC dc, Brushes& brushes, const RECT& r, int dpi, bool allSides) {
  const int px = Scale(1, dpi);
  auto fill = [&](int l, int t, int rr, int b, Rgb c) {
    RECT line{l, t, rr, b};
    FillRect(dc, &line, brushes.get(c));
  };
  fill(r.left, r.top, r.right, r.top + px, kEdgeDark);
  fill(r.left, r.top, r.left + px, r.bottom, kEdgeDark);
  fill(r.left + px, r.top + px, r.right, r.top + 2 * px, kEdgeLight);
  fill(r.left + px, r.top + px, r.left + 2 * px, r.bottom, kEdgeLight);
  if (!allSides) return;
  fill(r.left, r.bottom - px, r.right, r.bottom, kEdgeDark);
  fill(r.right - px, r.top, r.right, r.bottom, kEdgeDark);
  fill(r.left + px, r.bottom - 2 * px, r.right - px, r.bottom - px, kEdgeLight);
  fill(r.right - 2 * px, r.top + px, r.right - px, r.bottom - px, kEdgeLight);
}

}  // namespace

// Painting ------------------------------------------------------------------------------------

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
  DrawEtchedLine(dc, 0, top, right, top, dpi_);
  DrawEtchedLine(dc, 0, top, 0, bottom, dpi_);
  DrawEtchedLine(dc, 0, bottom, right, bottom, dpi_);
  DrawEtchedLine(dc, right, top, right, bottom, dpi_);
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

// Messages ------------------------------------------------------------------------------------

bool Form1Window::HandleShared(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
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

LRESULT Form1Window::HandleMain(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleShared(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wp), &client, brushes_.get(colors::kPanelBlue));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client;
      GetClientRect(hwnd_, &client);
      DrawEdges(dc, brushes_, client, dpi_, true);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_MOUSEMOVE:
      form_.OnMouseMove(ids::kForm);
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_TIMER:
      if (wp == kTimer1Id) {
        form_.Timer1_Timer();
        return 0;
      }
      break;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      pump_.setSystemLoop(msg == WM_ENTERSIZEMOVE);
      return 0;
    case 0x02E0: {  // WM_DPICHANGED: the window moved to a monitor with another dpi
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wp));
      return 0;
    }
    case WM_CLOSE:
      // Alt+F4 or the taskbar's close: the same immediate end as the close button.
      endProgram();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT Form1Window::HandleContainer(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleShared(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      Control* c = ControlOf(hwnd);
      FillRect(reinterpret_cast<HDC>(wp), &client,
               brushes_.get(c ? c->spec->back : colors::kPanelBlue));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintContainer(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
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
    case WM_MBUTTONDBLCLK: {
      const bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;
      const bool right = msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK;
      const int button = left ? 1 : right ? 2 : 4;
      const int shift = ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                        (GetKeyState(VK_MENU) < 0 ? 4 : 0);
      const float x = static_cast<float>(GET_X_LPARAM(lp)) * layout::kTwipsPerInch / dpi_;
      const float y = static_cast<float>(GET_Y_LPARAM(lp)) * layout::kTwipsPerInch / dpi_;
      if (left) {
        // A click is a press and a release on the same control.
        pressed_ = id;
        SetCapture(hwnd);
      }
      form_.OnMouseDown(id, button, shift, x, y);
      return 0;
    }
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

LRESULT CALLBACK Form1Window::MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->controls_.clear();
    self->ids_.clear();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->HandleMain(msg, wp, lp);
}

LRESULT CALLBACK Form1Window::ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || msg == WM_NCDESTROY) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleContainer(hwnd, msg, wp, lp);
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
