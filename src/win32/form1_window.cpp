#include "win32/form1_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "text/text.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 250;
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

void RegisterClasses(HINSTANCE instance, WNDPROC mainProc, WNDPROC containerProc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = mainProc;
  wc.lpszClassName = Form1Window::kClassName;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = containerProc;
  wc.lpszClassName = Form1Window::kContainerClassName;
  RegisterClassExW(&wc);
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, MessagePump& pump, Pictures& pictures)
    : instance_(instance), pump_(pump), pictures_(pictures) {
  RegisterClasses(instance, MainProc, ContainerProc);
}

Form1Window::~Form1Window() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Form1Window::load() {
  if (!hwnd_) Create();
  if (!hwnd_) return;
  pump_.setDialogWindow(hwnd_);
  SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  form_.Form_Load();
}

void Form1Window::show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  // Paint everything now, so the window appears complete.
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Form1Window::Create() {
  dpi_ = DpiOf(nullptr);
  const int width = TwipsToPixels(layout::kFormWidth, dpi_);
  const int height = TwipsToPixels(layout::kFormHeight, dpi_);
  const POINT at = CentredOnWorkArea(width, height);
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClassName, L"Velkaro 3.0",
                          WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, at.x, at.y,
                          width, height, nullptr, nullptr, instance_, this);
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(pictures_.programIcon(GetSystemMetrics(SM_CXICON))));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(pictures_.programIcon(GetSystemMetrics(SM_CXSMICON))));

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance_, nullptr);

  for (const auto& spec : Form1Controls()) CreateControl(spec);
  // The title and the status line lie above the drag strip.
  SetWindowPos(Handle(ids::kImage10), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ApplyDpi(DpiOf(hwnd_));
}

void Form1Window::CreateControl(const ControlSpec& spec) {
  HWND parent = ParentHandle(spec.parent);
  if (!parent) return;
  const RECT r = PixelRect(spec, dpi_);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (spec.visible ? WS_VISIBLE : 0);
  DWORD exStyle = 0;
  const wchar_t* className = L"STATIC";
  std::wstring caption = Wide(spec.caption);
  void* param = nullptr;
  int height = r.bottom - r.top;
  switch (spec.kind) {
    case ControlKind::Panel:
    case ControlKind::Frame:
      className = kContainerClassName;
      style |= WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
      param = this;
      break;
    case ControlKind::Label:
      style |= SS_NOPREFIX | (Form1::HandlesMouse(spec.id) ? SS_NOTIFY : 0) |
               (spec.align == TextAlign::Center  ? SS_CENTER
                : spec.align == TextAlign::Right ? SS_RIGHT
                                                 : SS_LEFT);
      break;
    case ControlKind::TextBox:
      className = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
      break;
    case ControlKind::Picture:
      style |= SS_OWNERDRAW | SS_NOTIFY;
      caption.clear();
      break;
    case ControlKind::CheckBox:
      className = L"BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::ComboBox:
      className = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      caption.clear();
      height += Scale(120, dpi_);  // room for the dropped-down list
      break;
    case ControlKind::ListBox:
      className = L"LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
      exStyle |= WS_EX_CLIENTEDGE;
      caption.clear();
      break;
    case ControlKind::ProgressBar:
      className = PROGRESS_CLASSW;
      style |= PBS_SMOOTH;
      caption.clear();
      break;
  }
  HWND hwnd = CreateWindowExW(
      exStyle, className, caption.c_str(), style, r.left, r.top, r.right - r.left, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_, param);
  if (!hwnd) return;
  controls_[spec.id] = Control{&spec, hwnd, spec.fore};
  ids_[hwnd] = spec.id;

  if (spec.kind == ControlKind::CheckBox) SendMessageW(hwnd, BM_SETCHECK, spec.value, 0);
  if (spec.kind == ControlKind::ProgressBar) SendMessageW(hwnd, PBM_SETRANGE32, 0, 100);
  if (spec.kind == ControlKind::TextBox) SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, 0);
  if (Form1::HandlesMouse(spec.id))
    SetWindowSubclass(hwnd, MouseProc, static_cast<UINT_PTR>(spec.id),
                      reinterpret_cast<DWORD_PTR>(this));
  if (!spec.tooltip.empty() && tooltip_) {
    std::wstring tip = Wide(spec.tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = tip.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Form1Window::ApplyDpi(int dpi) {
  dpi_ = dpi;
  arial_.reset(MakeFont(L"Arial", 8.25, true, dpi));
  verdana_.reset(MakeFont(L"Verdana", 8.25, true, dpi));
  SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixels(layout::kFormWidth, dpi),
               TwipsToPixels(layout::kFormHeight, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto& [id, control] : controls_) {
    const RECT r = PixelRect(*control.spec, dpi);
    int height = r.bottom - r.top;
    if (control.spec->kind == ControlKind::ComboBox) height += Scale(120, dpi);
    SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.right - r.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = control.spec->font == FontFace::VerdanaBold ? verdana_.get() : arial_.get();
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, 0, FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT Form1Window::PixelRect(const ControlSpec& spec, int dpi) const {
  // Both edges from twips, so that neighbours meet without gaps from rounding.
  RECT r;
  r.left = TwipsToPixels(spec.left, dpi);
  r.top = TwipsToPixels(spec.top, dpi);
  r.right = TwipsToPixels(spec.left + spec.width, dpi);
  r.bottom = TwipsToPixels(spec.top + spec.height, dpi);
  return r;
}

HWND Form1Window::Handle(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.hwnd;
}

HWND Form1Window::ParentHandle(int parentId) const {
  return parentId == ids::kForm ? hwnd_ : Handle(parentId);
}

Form1Window::Control* Form1Window::ControlOf(HWND hwnd) {
  const auto id = ids_.find(hwnd);
  if (id == ids_.end()) return nullptr;
  const auto it = controls_.find(id->second);
  return it == controls_.end() ? nullptr : &it->second;
}

// View ----------------------------------------------------------------------------------------

void Form1Window::setText(int id, const std::string& text) {
  HWND hwnd = Handle(id);
  if (!hwnd) return;
  // A field holds its text only up to the first NUL (a multi-string shows its first string).
  const std::string held = text::CutAtNul(text);
  const std::wstring wanted = Wide(held);
  if (controls_[id].spec->kind == ControlKind::ComboBox) {
    const LRESULT index = SendMessageW(hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wanted.c_str()));
    SendMessageW(hwnd, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
    return;
  }
  // Unchanged text is not written again: the status line writes four times a second.
  if (this->text(id) != held) SetWindowTextW(hwnd, wanted.c_str());
}

std::string Form1Window::text(int id) {
  HWND hwnd = Handle(id);
  if (!hwnd) return {};
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  buffer.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Narrow(buffer);
}

void Form1Window::setVisible(int id, bool visible) {
  if (HWND hwnd = Handle(id)) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Form1Window::isVisible(int id) {
  HWND hwnd = Handle(id);
  return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

void Form1Window::setForeColor(int id, Rgb color) {
  const auto it = controls_.find(id);
  if (it == controls_.end() || it->second.fore == color) return;
  it->second.fore = color;
  InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

Rgb Form1Window::foreColor(int id) {
  const auto it = controls_.find(id);
  return it == controls_.end() ? Rgb{} : it->second.fore;
}

void Form1Window::addItem(int id, const std::string& item) {
  HWND hwnd = Handle(id);
  if (!hwnd) return;
  const std::wstring wide = Wide(item);
  if (controls_[id].spec->kind == ControlKind::ComboBox) {
    const LRESULT index =
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    // The design text shows in the box once an item of that text exists.
    if (index >= 0 && SendMessageW(hwnd, CB_GETCURSEL, 0, 0) == CB_ERR &&
        item == controls_[id].spec->caption)
      SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else {
    SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

void Form1Window::clearItems(int id) {
  HWND hwnd = Handle(id);
  if (!hwnd) return;
  const bool combo = controls_[id].spec->kind == ControlKind::ComboBox;
  SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void Form1Window::setValue(int id, int value) {
  HWND hwnd = Handle(id);
  if (!hwnd) return;
  if (controls_[id].spec->kind == ControlKind::ProgressBar)
    SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0);
  else
    SendMessageW(hwnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

int Form1Window::value(int id) {
  HWND hwnd = Handle(id);
  if (!hwnd) return 0;
  if (controls_[id].spec->kind == ControlKind::ProgressBar)
    return static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
  return static_cast<int>(SendMessageW(hwnd, BM_GETCHECK, 0, 0));
}

void Form1Window::beginWindowDrag() {
  ReleaseCapture();
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Form1Window::endProgram() {
  // Gone from the screen at once; a handler that is pumping events (a report run) sees the
  // end, closes what it holds and returns, and the message loop then ends the program.
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
  pump_.quit(0);
}

void Form1Window::setBusyPointer(bool busy) {
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Form1Window::messageBox(const std::string& text, MessageIcon icon) {
  MessageBoxW(hwnd_, Wide(text).c_str(), L"Velkaro 3.0",
              MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

void Form1Window::showWaitWindow(bool shown) {
  if (shown)
    lade_.show(hwnd_);
  else
    lade_.unload();
}

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
      if (wp == kTimer1) {
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
