#include "win32/form1_window.h"

#include <commctrl.h>

#include "velkaro_version.h"
#include "win32/wide.h"
#include "win32/window.h"

namespace velkaro::win32 {

namespace {

constexpr UINT kTimer1Interval = 250;

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, MessagePump& pump, Pictures& pictures)
    : instance_(instance), pump_(pump), pictures_(pictures) {
  RegisterWindowClass(instance, kClassName, OwnedWindowProc<Form1Window, &Form1Window::HandleMain>);
  RegisterWindowClass(instance, kContainerClassName,
                      OwnedWindowProc<Form1Window, &Form1Window::HandleContainer>);
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
  if (!CreateCentredWindow(instance_, kClassName, VELKARO_TITLE_W,
                           WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                           WS_EX_CONTROLPARENT | WS_EX_APPWINDOW,
                           TwipsToPixels(layout::kFormWidth, dpi_),
                           TwipsToPixels(layout::kFormHeight, dpi_), nullptr, this))
    return;
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

void Form1Window::ApplyDpi(int dpi) {
  dpi_ = dpi;
  arial_.reset(MakeFont(L"Arial", 8.25, true, dpi));
  verdana_.reset(MakeFont(L"Verdana", 8.25, true, dpi));
  SetWindowPos(hwnd_, nullptr, 0, 0, TwipsToPixels(layout::kFormWidth, dpi),
               TwipsToPixels(layout::kFormHeight, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (auto& [id, control] : controls_) {
    const RECT r = PixelRect(*control.spec, dpi);
    SetWindowPos(control.hwnd, nullptr, r.left, r.top, r.right - r.left,
                 ControlHeight(*control.spec, r, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = control.spec->font == FontFace::VerdanaBold ? verdana_.get() : arial_.get();
    SendMessageW(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, 0, FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT Form1Window::PixelRect(const ControlSpec& spec, int dpi) {
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

}  // namespace velkaro::win32
