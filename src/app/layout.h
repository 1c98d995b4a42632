// The main window's controls as one table: name, kind, container, position and size in twips,
// caption, colours and font. The window is created from it; tests walk it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/pictures.h"

namespace velkaro {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
  friend constexpr bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

namespace colors {
constexpr Rgb kPanelBlue{101, 150, 209};
constexpr Rgb kCaption{64, 64, 64};
constexpr Rgb kMenuIdle{224, 224, 224};
constexpr Rgb kMenuHot{255, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kDriveList{0, 153, 255};
constexpr Rgb kEdgeLight{168, 196, 232};  // the light line of the edges and etched lines
}  // namespace colors

enum class ControlKind {
  Panel,
  Frame,
  Label,
  TextBox,
  Picture,
  CheckBox,
  ComboBox,
  ListBox,
  ProgressBar
};
enum class TextAlign { Left, Center, Right };
enum class FontFace { ArialBold, VerdanaBold };  // both 8.25 pt

// The program's pictures (app/pictures.h); None for a control without one.
#define VELKARO_ART_NAME(name, ...) name,
enum class Art { None, VELKARO_PICTURES(VELKARO_ART_NAME, VELKARO_ART_NAME, VELKARO_ART_NAME) };
#undef VELKARO_ART_NAME

struct ControlSpec {
  int id = 0;
  std::string name;  // as the design names it: "Text1(8)", "Label2", "P1(0)"
  ControlKind kind = ControlKind::Label;
  int parent = ids::kForm;                       // the form or a panel/frame
  int left = 0, top = 0, width = 0, height = 0;  // twips, relative to the parent
  std::string caption;                           // design text; frames: their title
  Rgb fore = colors::kBlack;
  Rgb back = colors::kPanelBlue;
  TextAlign align = TextAlign::Left;
  FontFace font = FontFace::ArialBold;
  bool visible = true;
  int value = 0;  // check boxes: 0 unticked, 1 ticked, 2 greyed
  std::string tooltip;
  Art art = Art::None;
};

// The one entry of the output choice Combo1.
inline constexpr const char* kTextFileChoice = "Textdatei";

namespace layout {
constexpr int kFormWidth = 12135;  // client area, twips
constexpr int kFormHeight = 5805;
constexpr int kSplashWidth = 6000;
constexpr int kSplashHeight = 4500;
constexpr int kPanelSeparatorLeft = 9960;  // decorative line between rows and buttons
constexpr int kTwipsPerInch = 1440;
}  // namespace layout

// One menu label and the panel it brings up, left to right.
struct MenuEntry {
  int label;  // LabelN
  const char* caption;
  int left, width;  // twips inside Frame1
  int panel;        // P1(panel)
};
inline constexpr MenuEntry kMenu[ids::kPanelCount] = {
    {2, "Windows", 120, 975, 0},
    {3, "Audio / Grafik", 1200, 1335, 1},
    {4, "Netzwerk / Internet", 2640, 1815, 2},
    {5, "Computer", 4560, 1575, 3},
    {6, "Arbeitsspeicher", 6240, 1575, 4},
    {7, "Laufwerke", 7920, 1095, 5},
    {8, "CPU", 9120, 615, 6},
    {9, "Sonstiges", 9840, 975, 7},
    {10, "Menu", 10920, 855, 8},
};

const std::vector<ControlSpec>& Form1Controls();
// The number N of the picture button ImageN that shows the picture (app/pictures.h); 0 for a
// picture that is no button.
int ButtonImage(Art art);
// Whether a control is one of the picture buttons.
bool IsButton(int id);
const ControlSpec* FindControl(int id);
const ControlSpec* FindControl(const std::string& name);

// Pixels for a length in twips at the given dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

}  // namespace velkaro
