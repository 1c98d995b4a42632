#include "win32/control_host.h"

#include "app/form1.h"
#include "win32/gdi.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

// The window class and styles that make a control of one kind.
struct Kind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  bool caption;  // whether the design text is the window's text
};

Kind KindOf(const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::Panel:
    case ControlKind::Frame:
      return {ControlHost::kContainerClassName, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
    case ControlKind::Label: {
      const DWORD align = spec.align == TextAlign::Center  ? SS_CENTER
                          : spec.align == TextAlign::Right ? SS_RIGHT
                                                           : SS_LEFT;
      return {L"STATIC", SS_NOPREFIX | (Form1::HandlesMouse(spec.id) ? SS_NOTIFY : 0u) | align, 0,
              true};
    }
    case ControlKind::TextBox:
      // Value fields show what the program found: their text can be selected and copied, not
      // changed. A read-only field asks for its colours with WM_CTLCOLORSTATIC.
      return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT | ES_READONLY, 0, true};
    case ControlKind::Picture:
      return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, 0, false};
    case ControlKind::CheckBox:
      return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, true};
    case ControlKind::ComboBox:
      return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, false};
    case ControlKind::ListBox:
      return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, false};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, PBS_SMOOTH, 0, false};
  }
  return {L"STATIC", 0, 0, false};
}

// A combo box's window reaches below its box: room for the dropped-down list.
int Height(const ControlSpec& spec, const RECT& r, int dpi) {
  const int height = r.bottom - r.top;
  return spec.kind == ControlKind::ComboBox ? height + Scale(120, dpi) : height;
}

}  // namespace

RECT ControlHost::PixelRect(const ControlSpec& spec, int dpi) {
  // Both edges from twips, so that neighbours meet without gaps from rounding.
  return RECT{TwipsToPixels(spec.left, dpi), TwipsToPixels(spec.top, dpi),
              TwipsToPixels(spec.left + spec.width, dpi),
              TwipsToPixels(spec.top + spec.height, dpi)};
}

void ControlHost::create(HWND form, int dpi, void* containerOwner, SUBCLASSPROC mouse,
                         DWORD_PTR data) {
  form_ = form;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, instance_, nullptr);
  for (const auto& spec : Form1Controls()) CreateControl(spec, dpi, containerOwner, mouse, data);
  // The title and the status line lie above the drag strip.
  SetWindowPos(window(ids::kImage10), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ControlHost::CreateControl(const ControlSpec& spec, int dpi, void* containerOwner,
                                SUBCLASSPROC mouse, DWORD_PTR data) {
  HWND parent = spec.parent == ids::kForm ? form_ : window(spec.parent);
  if (!parent) return;
  const Kind kind = KindOf(spec);
  const RECT r = PixelRect(spec, dpi);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (spec.visible ? WS_VISIBLE : 0) | kind.style;
  const bool container = kind.className == kContainerClassName;
  HWND hwnd =
      CreateWindowExW(kind.exStyle, kind.className, kind.caption ? Wide(spec.caption).c_str() : L"",
                      style, r.left, r.top, r.right - r.left, Height(spec, r, dpi), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_,
                      container ? containerOwner : nullptr);
  if (!hwnd) return;
  controls_[spec.id] = Control{&spec, hwnd, spec.fore};
  ids_[hwnd] = spec.id;

  if (spec.kind == ControlKind::CheckBox) SendMessageW(hwnd, BM_SETCHECK, spec.value, 0);
  if (spec.kind == ControlKind::ProgressBar) SendMessageW(hwnd, PBM_SETRANGE32, 0, 100);
  if (spec.kind == ControlKind::TextBox) SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, 0);
  if (Form1::HandlesMouse(spec.id))
    SetWindowSubclass(hwnd, mouse, static_cast<UINT_PTR>(spec.id), data);
  AddTooltip(spec, parent, hwnd);
}

void ControlHost::AddTooltip(const ControlSpec& spec, HWND parent, HWND control) {
  if (spec.tooltip.empty() || !tooltip_) return;
  std::wstring tip = Wide(spec.tooltip);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = tip.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ControlHost::place(int dpi, HFONT arial, HFONT verdana) {
  for (auto& [id, control] : controls_) {
    const RECT r = PixelRect(*control.spec, dpi);
    SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.right - r.left,
                 Height(*control.spec, r, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = control.spec->font == FontFace::VerdanaBold ? verdana : arial;
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, 0, FALSE);
}

void ControlHost::clear() {
  controls_.clear();
  ids_.clear();
  form_ = tooltip_ = nullptr;
}

HWND ControlHost::window(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.hwnd;
}

ControlHost::Control* ControlHost::find(int id) {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

ControlHost::Control* ControlHost::find(HWND hwnd) {
  const auto id = ids_.find(hwnd);
  return id == ids_.end() ? nullptr : find(id->second);
}

}  // namespace velkaro::win32
