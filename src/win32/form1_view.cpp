// The main window as the View of Form1: field texts, visibility, colours, lists, check boxes,
// the progress bar, the pointer, the message box and the wait window.
#include <windows.h>
#include <commctrl.h>

#include "text/text.h"
#include "velkaro_version.h"
#include "win32/form1_window.h"
#include "win32/wide.h"

namespace velkaro::win32 {

void Form1Window::setText(int id, const std::string& text) {
  const ControlHost::Control* c = controls_.find(id);
  if (!c) return;
  HWND hwnd = c->hwnd;
  // A field holds its text only up to the first NUL (a multi-string shows its first string).
  const std::string held = text::CutAtNul(text);
  const std::wstring wanted = Wide(held);
  if (c->spec->kind == ControlKind::ComboBox) {
    const LRESULT index = SendMessageW(hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wanted.c_str()));
    SendMessageW(hwnd, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
    return;
  }
  // Unchanged text is not written again: the status line writes four times a second.
  if (this->text(id) != held) SetWindowTextW(hwnd, wanted.c_str());
}

std::string Form1Window::text(int id) {
  HWND hwnd = controls_.window(id);
  if (!hwnd) return {};
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  buffer.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Narrow(buffer);
}

void Form1Window::setVisible(int id, bool visible) {
  if (HWND hwnd = controls_.window(id)) ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Form1Window::isVisible(int id) {
  HWND hwnd = controls_.window(id);
  return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

void Form1Window::setForeColor(int id, Rgb color) {
  ControlHost::Control* c = controls_.find(id);
  if (!c || c->fore == color) return;
  c->fore = color;
  InvalidateRect(c->hwnd, nullptr, TRUE);
}

Rgb Form1Window::foreColor(int id) {
  const ControlHost::Control* c = controls_.find(id);
  return c ? c->fore : Rgb{};
}

void Form1Window::addItem(int id, const std::string& item) {
  const ControlHost::Control* c = controls_.find(id);
  if (!c) return;
  HWND hwnd = c->hwnd;
  const std::wstring wide = Wide(item);
  if (c->spec->kind == ControlKind::ComboBox) {
    const LRESULT index =
        SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    // The design text shows in the box once an item of that text exists.
    if (index >= 0 && SendMessageW(hwnd, CB_GETCURSEL, 0, 0) == CB_ERR && item == c->spec->caption)
      SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  } else {
    SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

void Form1Window::clearItems(int id) {
  const ControlHost::Control* c = controls_.find(id);
  if (!c) return;
  const bool combo = c->spec->kind == ControlKind::ComboBox;
  SendMessageW(c->hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void Form1Window::setValue(int id, int value) {
  const ControlHost::Control* c = controls_.find(id);
  if (!c) return;
  const bool bar = c->spec->kind == ControlKind::ProgressBar;
  SendMessageW(c->hwnd, bar ? PBM_SETPOS : BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

int Form1Window::value(int id) {
  const ControlHost::Control* c = controls_.find(id);
  if (!c) return 0;
  const bool bar = c->spec->kind == ControlKind::ProgressBar;
  return static_cast<int>(SendMessageW(c->hwnd, bar ? PBM_GETPOS : BM_GETCHECK, 0, 0));
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
  MessageBoxW(hwnd_, Wide(text).c_str(), VELKARO_TITLE_W,
              MB_OK | (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION));
}

void Form1Window::showWaitWindow(bool shown) {
  if (shown)
    lade_.show(hwnd_);
  else
    lade_.unload();
}

}  // namespace velkaro::win32
