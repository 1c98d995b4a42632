// Drawing helpers shared by the windows: DPI, colours, fonts, the program's pictures.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "app/layout.h"

namespace velkaro::win32 {

// Dots per inch of the monitor that shows the window (or of the primary monitor when the
// window is not there yet).
int DpiOf(HWND hwnd);

inline COLORREF Ref(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

// Pixels for a length at 96 dpi, at the given dpi.
inline int Scale(int pixelsAt96, int dpi) {
  return MulDiv(pixelsAt96, dpi, 96);
}

// A GDI object deleted with its owner.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T handle) : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~GdiObject() { reset(); }
  void reset(T handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  T get() const { return handle_; }

 private:
  T handle_ = nullptr;
};

// Solid brushes by colour, made once.
class Brushes {
 public:
  HBRUSH get(Rgb color);

 private:
  std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
};

// A font of the given face and size in points (bold or not) at the given dpi.
HFONT MakeFont(const wchar_t* face, double points, bool bold, int dpi);

// The resource number of a picture (0 for none).
int ResourceOf(Art art);

// The program's pictures, loaded from its resources at the sizes asked for.
class Pictures {
 public:
  explicit Pictures(HINSTANCE instance) : instance_(instance) {}
  Pictures(const Pictures&) = delete;
  Pictures& operator=(const Pictures&) = delete;
  ~Pictures();
  // The icon of a picture at size x size pixels; nullptr when the picture has none.
  HICON icon(Art art, int size);
  HICON programIcon(int size);

 private:
  HICON Load(int resource, int size);
  HINSTANCE instance_;
  std::map<std::pair<int, int>, HICON> icons_;
};

// Thin light-and-dark line pair, as used for the window's decorative lines.
void DrawEtchedLine(HDC dc, int x1, int y1, int x2, int y2, int dpi);

}  // namespace velkaro::win32
