#include "win32/form1_window.h"

#include <commctrl.h>

#include "text/text.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

constexpr UINT kTimer1Interval = 250;

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
  SetTimer(hwnd_, kTimer1Id, kTimer1Interval, nullptr);
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

}  // namespace velkaro::win32
