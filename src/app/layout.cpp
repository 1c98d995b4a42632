#include "app/layout.h"

#include <map>

#include "app/fields.h"
#include "velkaro_version.h"

namespace velkaro {

namespace {

using namespace ids;

// Picture buttons inside the panels (32 x 32 pixels).
struct Button {
  int image;
  int panel;
  int left, top;
  const char* tooltip;
  Art art;
};

#define VELKARO_NOT_A_BUTTON(...)
#define VELKARO_BUTTON(name, resource, file, image, panel, left, top, tooltip) \
  {image, panel, left, top, tooltip, Art::name},
constexpr Button kButtons[] = {
    VELKARO_PICTURES(VELKARO_NOT_A_BUTTON, VELKARO_NOT_A_BUTTON, VELKARO_BUTTON)};
#undef VELKARO_BUTTON
#undef VELKARO_NOT_A_BUTTON

constexpr int kButtonSize = 480;  // 32 pixels
constexpr int kRowHeight = 255;
constexpr int kValueRight = 9840;  // value fields end before the separator line

std::string Indexed(const char* array, int index) {
  return std::string(array) + "(" + std::to_string(index) + ")";
}

ControlSpec Make(int id, std::string name, ControlKind kind, int parent, int left, int top,
                 int width, int height) {
  ControlSpec c;
  c.id = id;
  c.name = std::move(name);
  c.kind = kind;
  c.parent = parent;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

ControlSpec MakeLabel(int id, std::string name, int parent, int left, int top, int width,
                      int height, std::string caption, Rgb fore,
                      TextAlign align = TextAlign::Left) {
  ControlSpec c = Make(id, std::move(name), ControlKind::Label, parent, left, top, width, height);
  c.caption = std::move(caption);
  c.fore = fore;
  c.align = align;
  return c;
}

using Controls = std::vector<ControlSpec>;

// Form level: the drag strip first, so that the title and the status line lie above it; the
// close button in its two looks.
void AddTitleStrip(Controls& all) {
  all.push_back(Make(kImage10, "Image10", ControlKind::Picture, kForm, 0, 0, 11775, 375));
  all.push_back(
      MakeLabel(kLabel1, "Label1", kForm, 120, 80, 4215, 255, VELKARO_TITLE, colors::kWhite));
  all.push_back(MakeLabel(kUhrdate, "uhrdate", kForm, 7440, 75, 4215, 255,
                          "00.00.0000  |  00:00:00", colors::kWhite, TextAlign::Right));
  for (int n : {1, 2}) {
    ControlSpec close = Make(Image(n), "Image" + std::to_string(n), ControlKind::Picture, kForm,
                             11830, 75, 225, 225);
    close.art = n == 1 ? Art::CloseNormal : Art::CloseHot;
    close.visible = n == 1;
    all.push_back(close);
  }
}

// The menu bar with its labels, and the nine panels (only the first one shows at start).
void AddMenuAndPanels(Controls& all) {
  all.push_back(Make(kFrame1, "Frame1", ControlKind::Frame, kForm, 120, 480, 11895, 495));
  for (const auto& m : kMenu) {
    all.push_back(MakeLabel(Label(m.label), "Label" + std::to_string(m.label), kFrame1, m.left, 195,
                            m.width, 255, m.caption, colors::kMenuIdle, TextAlign::Center));
  }
  for (int p = 0; p < kPanelCount; ++p) {
    ControlSpec panel =
        Make(P1(p), Indexed("P1", p), ControlKind::Panel, kForm, 120, 1080, 11895, 4575);
    panel.visible = p == 0;
    all.push_back(panel);
  }
}

// Each panel row: its caption label and its value field.
void AddRows(Controls& all) {
  for (const auto& panel : FieldTable()) {
    for (const auto& row : panel.rows) {
      all.push_back(MakeLabel(Label11(row.label), Indexed("Label11", row.label), P1(panel.panel),
                              120, row.top, panel.valueLeft - 240, kRowHeight, row.caption,
                              colors::kCaption));
      const bool text5 = row.field >= Text5(0);
      ControlSpec value = Make(
          row.field,
          text5 ? Indexed("Text5", row.field - Text5(0)) : Indexed("Text1", row.field - Text1(0)),
          ControlKind::TextBox, P1(panel.panel), panel.valueLeft, row.top,
          kValueRight - panel.valueLeft, kRowHeight);
      value.caption = "N/A";
      value.fore = colors::kWhite;
      all.push_back(value);
    }
  }
}

// The memory release frame on the Arbeitsspeicher panel, and the drive lists, filled column by
// column.
void AddMemoryFrameAndDriveLists(Controls& all) {
  ControlSpec frame2 = Make(kFrame2, "Frame2", ControlKind::Frame, P1(4), 120, 3000, 9615, 1335);
  frame2.caption = "Arbeitsspeicher freiräumen";
  frame2.fore = colors::kCaption;
  all.push_back(frame2);
  all.push_back(MakeLabel(kLabel12, "Label12", kFrame2, 240, 360, 735, kRowHeight,
                          "Status:", colors::kCaption));
  all.push_back(MakeLabel(kLabel13, "Label13", kFrame2, 1080, 360, 8295, kRowHeight, "0 %",
                          colors::kCaption));
  all.push_back(
      Make(kProgressBar1, "ProgressBar1", ControlKind::ProgressBar, kFrame2, 240, 720, 9135, 375));
  constexpr int kListLeft[] = {240, 3360, 6435};
  constexpr int kListTop[] = {360, 1800, 3240};
  for (int i = 0; i < kListCount; ++i) {
    ControlSpec list = Make(List1(i), Indexed("List1", i), ControlKind::ListBox, P1(5),
                            kListLeft[i / 3], kListTop[i % 3], 3135, 1035);
    list.font = FontFace::VerdanaBold;
    list.fore = colors::kBlack;
    list.back = colors::kDriveList;
    all.push_back(list);
  }
}

// The report options: the output choice and the eight category boxes, all ticked.
void AddReportOptions(Controls& all) {
  all.push_back(MakeLabel(Label11(72), "Label11(72)", P1(8), 120, 275, 1695, kRowHeight,
                          "Daten Auswerten in:", colors::kCaption));
  ControlSpec combo = Make(kCombo1, "Combo1", ControlKind::ComboBox, P1(8), 1920, 240, 2535, 315);
  combo.caption = kTextFileChoice;
  all.push_back(combo);
  for (int n = 1; n <= 8; ++n) {
    ControlSpec check = Make(Check(n), "Check" + std::to_string(n), ControlKind::CheckBox, P1(8),
                             240, 840 + (n - 1) * 360, 3015, kRowHeight);
    check.caption = kMenu[n - 1].caption;  // the box of each category bears its menu caption
    check.fore = colors::kCaption;
    check.value = 1;
    all.push_back(check);
  }
}

void AddButtons(Controls& all) {
  for (const auto& b : kButtons) {
    ControlSpec button =
        Make(Image(b.image), "Image" + std::to_string(b.image), ControlKind::Picture, P1(b.panel),
             b.left, b.top, kButtonSize, kButtonSize);
    button.tooltip = b.tooltip;
    button.art = b.art;
    all.push_back(button);
  }
}

Controls Build() {
  Controls all;
  AddTitleStrip(all);
  AddMenuAndPanels(all);
  AddRows(all);
  AddMemoryFrameAndDriveLists(all);
  AddReportOptions(all);
  AddButtons(all);
  return all;
}

}  // namespace

const std::vector<ControlSpec>& Form1Controls() {
  static const std::vector<ControlSpec> controls = Build();
  return controls;
}

int ButtonImage(Art art) {
  for (const auto& b : kButtons)
    if (b.art == art) return b.image;
  return 0;
}

bool IsButton(int id) {
  for (const auto& b : kButtons)
    if (Image(b.image) == id) return true;
  return false;
}

const ControlSpec* FindControl(int id) {
  static const auto byId = [] {
    std::map<int, const ControlSpec*> m;
    for (const auto& c : Form1Controls()) m[c.id] = &c;
    return m;
  }();
  const auto it = byId.find(id);
  return it == byId.end() ? nullptr : it->second;
}

const ControlSpec* FindControl(const std::string& name) {
  for (const auto& c : Form1Controls())
    if (c.name == name) return &c;
  return nullptr;
}

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = layout::kTwipsPerInch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / layout::kTwipsPerInch
                                      : -((-scaled + half) / layout::kTwipsPerInch));
}

}  // namespace velkaro
