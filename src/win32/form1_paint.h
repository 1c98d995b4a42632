// The main window's look: its blue with the edge lines, the panels' separator, the frames'
// etched borders with their captions, the drawn pictures, and the colours of the controls.
#pragma once

#include <windows.h>

#include "win32/control_host.h"
#include "win32/gdi.h"

namespace velkaro::win32 {

class Form1Painter {
 public:
  explicit Form1Painter(Pictures& pictures) : pictures_(pictures) {}

  // Makes the fonts for the dpi.
  void setDpi(int dpi);
  int dpi() const { return dpi_; }
  HFONT arial() const { return arial_.get(); }
  HFONT verdana() const { return verdana_.get(); }

  // The whole client area of the main window.
  void paintForm(HWND hwnd, HDC dc);
  // A panel's or a frame's background, then its lines and caption.
  void eraseContainer(HWND hwnd, HDC dc, const ControlHost::Control* control);
  void paintContainer(HWND hwnd, HDC dc, const ControlHost::Control& control);
  // WM_CTLCOLOR* and WM_DRAWITEM of the controls: false when the control is not one to colour.
  bool colours(UINT msg, WPARAM wp, LPARAM lp, ControlHost& host, LRESULT& result);

 private:
  void DrawPicture(const DRAWITEMSTRUCT& item, const ControlHost::Control& control);

  Pictures& pictures_;
  int dpi_ = 96;
  GdiObject<HFONT> arial_;
  GdiObject<HFONT> verdana_;
  Brushes brushes_;
};

}  // namespace velkaro::win32
