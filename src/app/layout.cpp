#include "app/layout.h"

#include <map>

namespace velkaro {

namespace {

using namespace ids;

// One row of a panel: caption label Label11(caption) and value field beside it.
struct Row {
  int top;
  int caption;
  const char* text;
  int value;  // control id of the Text1 or Text5 field
};

struct PanelRows {
  int panel;
  int valueLeft;
  std::vector<Row> rows;
};

const std::vector<PanelRows>& Panels() {
  static const std::vector<PanelRows> panels = {
      {0,
       2640,
       {{240, 0, "Betriebsystem:", Text1(0)},
        {480, 11, "Betriebsystem Version:", Text1(11)},
        {720, 1, "Service Pack:", Text1(1)},
        {960, 2, "Bulid:", Text1(2)},
        {1320, 4, "Windows Laufzeit:", Text1(4)},
        {1680, 5, "Produkt ID:", Text1(5)},
        {1920, 6, "Regestrierter Benutzer:", Text1(6)},
        {2160, 7, "Regestrierte Organisation:", Text1(7)},
        {2400, 10, "Angemeldeter User:", Text1(8)},
        {2760, 8, "WMI Installiert:", Text1(9)},
        {3000, 9, "WMI Version:", Text1(10)},
        {3360, 3, "Windows Path:", Text1(3)},
        {3600, 12, "Windows System Path:", Text1(12)},
        {3840, 13, "Source Path:", Text1(13)}}},
      {1,
       2640,
       {{240, 27, "Grafikkarte:", Text1(27)},
        {480, 17, "Grafikkarten Bios-Datum:", Text1(17)},
        {720, 26, "Grafikkarten Bios-Version:", Text1(26)},
        {1080, 25, "Bildschirm Auflösung:", Text1(25)},
        {1320, 24, "Farbauflösung:", Text1(24)},
        {1560, 23, "Direct X Version:", Text1(23)},
        {1920, 22, "Soundkarte:", Text1(22)},
        {2160, 21, "DeviceID:", Text1(21)},
        {2400, 18, "PNPDeviceID:", Text1(20)},
        {2640, 20, "MPU401Adresse:", Text1(19)},
        {3000, 19, "Media Client:", Text1(18)}}},
      {2,
       2640,
       {{240, 14, "Netzwerkkarte:", Text1(14)},
        {480, 35, "MAC Adresse:", Text1(34)},
        {720, 15, "IP Adresse:", Text1(15)},
        {1080, 16, "SubNet-Mask:", Text1(16)},
        {1320, 28, "Default Gateway:", Text1(28)},
        {1560, 29, "WINS Server:", Text1(29)},
        {1920, 30, "COM1:", Text1(30)},
        {2160, 31, "COM2:", Text1(31)},
        {2400, 34, "COM3:", Text1(35)},
        {2640, 32, "LPT1:", Text1(32)},
        {3000, 33, "Internet-Browser:", Text1(33)},
        {3240, 36, "E-Mail Client:", Text1(36)}}},
      {3,
       2640,
       {{240, 48, "Computer System Produkt:", Text1(48)},
        {480, 38, "Name:", Text1(39)},
        {720, 47, "Version:", Text1(47)},
        {1080, 46, "Mainboard:", Text1(46)},
        {1320, 45, "Version:", Text1(45)},
        {1560, 44, "Seriennummer:", Text1(44)},
        {1920, 43, "Bios Name:", Text1(43)},
        {2160, 42, "Bios Version:", Text1(42)},
        {2400, 39, "Bios Release Date:", Text1(41)},
        {2640, 51, "Bios Bulidnummer:", Text1(51)},
        {3000, 41, "Power Status:", Text1(38)},
        {3240, 40, "Battery Status:", Text1(40)},
        {3480, 37, "Battery Power Gesammt:", Text1(37)},
        {3720, 49, "Battery Power Verbleibend:", Text1(49)},
        {3960, 50, "Battery Power in Prozent:", Text1(50)}}},
      {4,
       3240,
       {{120, 52, "Gesammter Arbeitsspeicher:", Text1(52)},
        {360, 53, "Freier Arbeitsspeicher:", Text1(53)},
        {840, 54, "Gesammter Virtueller Speicher:", Text1(54)},
        {1080, 55, "Freier Virtueller Speicher:", Text1(55)},
        {1560, 56, "Max. größe der Auslagerungsdatei:", Text1(56)},
        {1800, 57, "Free größe der Auslagerungsdatei:", Text1(57)},
        {2280, 58, "Prozent des belegten Speicher:", Text1(58)}}},
      {6,
       2040,
       {{240, 60, "Processor Name", Text5(0)},
        {480, 61, "Processoer Modell", Text5(1)},
        {720, 62, "Processoer Revision", Text5(2)},
        {1080, 63, "Processor L2 Cache", Text5(3)},
        {1320, 64, "Processor L2 Speed", Text5(4)},
        {1680, 65, "Processor FSB", Text5(5)},
        {1920, 67, "Processor MHz", Text5(6)},
        {2160, 66, "Voltage Caps", Text5(7)},
        {2520, 68, "Processor Usage", Text5(8)},
        {2760, 69, "Processor Anzahl", Text5(9)},
        {3000, 70, "Processor Type", Text5(10)}}},
      {7,
       2400,
       {{240, 75, "Lunavex Version:", Text5(11)},
        {600, 74, "Fennrick 2 Version:", Text5(12)},
        {960, 59, "Velkaro Version:", Text5(13)}}},
  };
  return panels;
}

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
      MakeLabel(kLabel1, "Label1", kForm, 120, 80, 4215, 255, "Velkaro 3.0", colors::kWhite));
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
  for (const auto& panel : Panels()) {
    for (const auto& row : panel.rows) {
      all.push_back(MakeLabel(Label11(row.caption), Indexed("Label11", row.caption),
                              P1(panel.panel), 120, row.top, panel.valueLeft - 240, kRowHeight,
                              row.text, colors::kCaption));
      const bool text5 = row.value >= Text5(0);
      ControlSpec value = Make(
          row.value,
          text5 ? Indexed("Text5", row.value - Text5(0)) : Indexed("Text1", row.value - Text1(0)),
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
  combo.caption = "Textdatei";
  all.push_back(combo);
  for (int n = 1; n <= 8; ++n) {
    ControlSpec check = Make(Check(n), "Check" + std::to_string(n), ControlKind::CheckBox, P1(8),
                             240, 840 + (n - 1) * 360, 3015, kRowHeight);
    check.caption = kCheckCaptions[n - 1];
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
