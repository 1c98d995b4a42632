// The main window's controls, created from the control table.
#include <windows.h>
#include <commctrl.h>

#include "win32/form1_window.h"
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
      return {Form1Window::kContainerClassName, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, true};
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

}  // namespace

// A combo box's window reaches below its box: room for the dropped-down list.
int Form1Window::ControlHeight(const ControlSpec& spec, const RECT& r, int dpi) {
  const int height = r.bottom - r.top;
  return spec.kind == ControlKind::ComboBox ? height + Scale(120, dpi) : height;
}

void Form1Window::CreateControl(const ControlSpec& spec) {
  HWND parent = ParentHandle(spec.parent);
  if (!parent) return;
  const Kind kind = KindOf(spec);
  const RECT r = PixelRect(spec, dpi_);
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (spec.visible ? WS_VISIBLE : 0) | kind.style;
  const bool container = kind.className == kContainerClassName;
  HWND hwnd =
      CreateWindowExW(kind.exStyle, kind.className, kind.caption ? Wide(spec.caption).c_str() : L"",
                      style, r.left, r.top, r.right - r.left, ControlHeight(spec, r, dpi_), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), instance_,
                      container ? this : nullptr);
  if (!hwnd) return;
  controls_[spec.id] = Control{&spec, hwnd, spec.fore};
  ids_[hwnd] = spec.id;

  if (spec.kind == ControlKind::CheckBox) SendMessageW(hwnd, BM_SETCHECK, spec.value, 0);
  if (spec.kind == ControlKind::ProgressBar) SendMessageW(hwnd, PBM_SETRANGE32, 0, 100);
  if (spec.kind == ControlKind::TextBox) SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, 0);
  if (Form1::HandlesMouse(spec.id))
    SetWindowSubclass(hwnd, MouseProc, static_cast<UINT_PTR>(spec.id),
                      reinterpret_cast<DWORD_PTR>(this));
  AddTooltip(spec, parent, hwnd);
}

void Form1Window::AddTooltip(const ControlSpec& spec, HWND parent, HWND control) {
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

}  // namespace velkaro::win32
