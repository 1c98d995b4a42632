#include "report/report.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using fakes::FakeView;

namespace {

constexpr const char* kPath = "c:\\SystemInfo.txt";

// The sections as the report must print them, transcribed on their own: header, captions
// joined by "|", the TAB count of each line, the value fields.
struct ExpectedSection {
  const char* header;
  const char* captions;
  const char* tabs;
  std::vector<int> fields;
};
const std::vector<ExpectedSection> kExpected = {
    {"###### Windows ######",
     "Betriebsystem:|Betriebsystem Version:|Service Pack:|Bulid:|Windows Laufzeit:|Produkt ID|"
     "Regestrierter Benutzer:|Regestrierte Organisation:|Angemeldeter User:|WMI Installiert:|"
     "WMI Version:|Windows Path:|Windows System Path:|Source Path:",
     "43353432334434",
     {0, 11, 1, 2, 4, 5, 6, 7, 8, 9, 10, 3, 12, 13}},
    {"###### Audio / Grafik ######",
     "Grafik:|Grafikkarten Bios-Datum:|Grafikkarten Bios-Version:|Bildschirm Auflösung:|"
     "Farbauflösung:|Direct X Version:|Soundkarte:|DeviceID:|PNPDeviceID:|MPU401Adresse:|"
     "Media Client:",
     "52234344444",
     {27, 17, 26, 25, 24, 23, 22, 21, 20, 19, 18}},
    {"###### Netzwerk / Internet ######",
     "Netzwerkkarte:|MAC Adresse:|IP Adresse:|SubNet-Mask:|Default Gateway:|WINS Server:|COM1:|"
     "COM2:|COM3:|LPT1:|Internet-Browser:|E-Mail Client:",
     "444434555534",
     {14, 34, 15, 16, 28, 29, 30, 31, 35, 32, 33, 36}},
    {"###### Computer ######",
     "Computer System Produkt:|Name:|Version:|Mainboard:|Mainboard Version:|Seriennummer:|"
     "Bios Name:|Bios Version:|Bios Release Date:|Bios Bulidnummer:|Power Status:|"
     "Battery Status:|Battery Power Gesammt:|Battery Power Verbleibend:|Battery Power in Prozent:",
     "254434443344322",
     {48, 39, 47, 46, 45, 44, 43, 42, 41, 51, 38, 40, 37, 49, 50}},
    {"###### Arbeitsspeicher ######",
     "Gesammter Arbeitsspeicher:|Freier Arbeitsspeicher:|Gesammter Virtueller Speicher:|"
     "Freier Virtueller Speicher:|Max. größe der Auslagerungsdatei:|"
     "Free größe der Auslagerungsdatei:|Prozent des belegten Speicher:",
     "2322112",
     {52, 53, 54, 55, 56, 57, 58}},
    {"###### Laufwerke ######", "", "", {}},
    {"###### CPU ######",
     "Processor Name:|Processoer Modell:|Processoer Revision:|Processor L2 Cache:|"
     "Processor L2 Speed:|Processor FSB:|Processor MHz:|Voltage Caps:|Processor Usage:|"
     "Processor Anzahl:|Processor Type:",
     "43333444334",
     {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110}},
    {"###### Sonstiges ######",
     "Lunavex Version:|Fennrick 2 Version:|Velkaro Version:",
     "232",
     {111, 112, 113}},
};

// Field numbers below 100 are Text1(j), from 100 on Text5(j - 100).
int FieldId(int n) {
  return n < 100 ? Text1(n) : Text5(n - 100);
}
std::string ValueOf(int n) {
  return "wert " + std::to_string(n) + " äß";
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + 1)
    parts.push_back(s.substr(start, at - start));
  parts.push_back(s.substr(start));
  return parts;
}

// The text of a field section whose fields hold ValueOf(field).
std::string SectionText(const ExpectedSection& e) {
  std::string text = std::string("\r\n") + e.header + "\r\n";
  const auto captions = Split(e.captions, '|');
  for (size_t i = 0; i < e.fields.size(); ++i)
    text += captions[i] + std::string(e.tabs[i] - '0', '\t') + ValueOf(e.fields[i]) + "\r\n";
  return text;
}

struct ReportTest : testing::Test {
  ReportTest() {
    // Each fill writes its section's fields, as a collector does.
    for (int i = 0; i < 8; ++i) {
      form.setFill(i, [this, i] {
        fills.push_back(i);
        fillTimes.push_back(p.clock.now);
        for (int f : kExpected[i].fields) view.setText(FieldId(f), ValueOf(f));
      });
    }
    form.Label10_Click();
    view.log.clear();
  }
  void tickOnly(std::vector<int> checks, int otherValue = 0) {
    for (int n = 1; n <= 8; ++n)
      view.setValue(Check(n), std::count(checks.begin(), checks.end(), n) ? 1 : otherValue);
  }
  bool hasFile() { return p.files.disk.count(kPath) > 0; }
  std::string file() { return p.files.disk.at(kPath); }
  long indexInLog(const std::string& entry) {
    const auto it = std::find(view.log.begin(), view.log.end(), entry);
    return it == view.log.end() ? -1 : it - view.log.begin();
  }
  void expectWaitWindowCameAndWent() {
    EXPECT_EQ(view.log.front(), "lade shown");
    EXPECT_FALSE(view.waitShown);
    EXPECT_EQ(p.files.unfinished, 0);
    EXPECT_FALSE(writer.running());
  }

  fakes::FakePlatform p;
  FakeView view;
  Form1 form{view};
  AppState state;
  Report::Writer writer{form, view, p.platform, state};
  std::vector<int> fills;
  std::vector<double> fillTimes;
};

}  // namespace

TEST_F(ReportTest, EachSectionAloneHasItsCaptionsTabsAndFields) {
  for (size_t i = 0; i < kExpected.size(); ++i) {
    if (i == 5) continue;  // the drives have a test of their own
    SCOPED_TRACE(kExpected[i].header);
    tickOnly({static_cast<int>(i) + 1});
    fills.clear();
    writer.Image17_Click();
    EXPECT_EQ(file(), SectionText(kExpected[i]));
    EXPECT_EQ(fills, std::vector<int>{static_cast<int>(i)});
  }
}

TEST_F(ReportTest, DrivesSectionPrintsTheDriveLineTableUpToItsCount) {
  struct Case {
    int count;
    size_t lines;  // after the empty line and the header
  };
  for (const Case c : {Case{12, 13}, Case{0, 1}, Case{250, 201}}) {
    SCOPED_TRACE(c.count);
    state = AppState();
    const char* drive[] = {"DeviceID: \t\t\t\t", "FileSystem: \t\t\t\t", "Description: \t\t\t\t",
                           "Size (KB): \t\t\t\t", "FreeSpace (KB): \t\t\t"};
    for (int k = 0; k < 2; ++k)
      for (int l = 0; l < 5; ++l)
        state.LaufwerkZeilen[6 * k + 1 + l] = drive[l] + std::to_string(k);
    state.LaufwerkZeilen[13] = "left from an earlier fill with more drives";
    state.LaufwerkAnzahl = c.count;
    tickOnly({6});
    writer.Image17_Click();
    const auto lines = Split(file(), '\n');
    ASSERT_EQ(lines.size() - 1, c.lines + 2);
    EXPECT_EQ(lines[1], "###### Laufwerke ######\r");
    if (c.count != 12) continue;
    EXPECT_EQ(file(),
              "\r\n###### Laufwerke ######\r\n\r\n"
              "DeviceID: \t\t\t\t0\r\nFileSystem: \t\t\t\t0\r\nDescription: \t\t\t\t0\r\n"
              "Size (KB): \t\t\t\t0\r\nFreeSpace (KB): \t\t\t0\r\n\r\n"
              "DeviceID: \t\t\t\t1\r\nFileSystem: \t\t\t\t1\r\nDescription: \t\t\t\t1\r\n"
              "Size (KB): \t\t\t\t1\r\nFreeSpace (KB): \t\t\t1\r\n\r\n");
  }
}

TEST_F(ReportTest, AllTickedRunsEveryFillInMenuOrderWithAPauseAndEndsOnTheReportPanel) {
  writer.Image17_Click();
  EXPECT_EQ(fills, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
  for (size_t i = 1; i < fillTimes.size(); ++i) EXPECT_GE(fillTimes[i] - fillTimes[i - 1], 0.9);
  std::string expected;
  for (size_t i = 0; i < kExpected.size(); ++i)
    expected += i == 5 ? "\r\n###### Laufwerke ######\r\n\r\n" : SectionText(kExpected[i]);
  EXPECT_EQ(file(), expected);  // no blank line at the end
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "visible P1(8)=1"), 8);
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{8});
  EXPECT_EQ(view.messages, std::vector<std::string>{"Alle Daten Ausgewertet!"});
  EXPECT_EQ(view.log.back(), "message info Alle Daten Ausgewertet!");
  EXPECT_LT(indexInLog("lade down"), indexInLog("message info Alle Daten Ausgewertet!"));
  expectWaitWindowCameAndWent();
}

TEST_F(ReportTest, FieldsNobodyWroteStillReadNA) {
  Form1 bare(view);  // no fills at all
  Report::Writer plain(bare, view, p.platform, state);
  tickOnly({8});
  plain.Image17_Click();
  EXPECT_EQ(file(),
            "\r\n###### Sonstiges ######\r\nLunavex Version:\t\tN/A\r\n"
            "Fennrick 2 Version:\t\t\tN/A\r\nVelkaro Version:\t\tN/A\r\n");
}

TEST_F(ReportTest, UntickedAndGreyedBoxesAreLeftOutAndKeepTheirValue) {
  for (int other : {0, 2}) {
    SCOPED_TRACE(other);
    fills.clear();
    tickOnly({1, 8}, other);
    writer.Image17_Click();
    EXPECT_EQ(fills, (std::vector<int>{0, 7}));
    EXPECT_EQ(file(), SectionText(kExpected[0]) + SectionText(kExpected[7]));
    for (int n = 2; n <= 7; ++n) EXPECT_EQ(view.value(Check(n)), other);
  }
}

TEST_F(ReportTest, NothingTickedGivesAnEmptyFileTheWaitWindowAndTheMessage) {
  p.files.disk[kPath] = "an earlier report";
  tickOnly({});
  writer.Image17_Click();
  ASSERT_TRUE(hasFile());
  EXPECT_EQ(file(), "");
  EXPECT_TRUE(fills.empty());
  EXPECT_EQ(view.visiblePanels(), std::vector<int>{8});
  EXPECT_EQ(view.log, (std::vector<std::string>{"lade shown", "lade down",
                                                "message info Alle Daten Ausgewertet!"}));
  expectWaitWindowCameAndWent();
}

TEST_F(ReportTest, FailuresShowAnErrorNamingFileAndReasonAndKeepTheEarlierReport) {
  struct Case {
    const char* name;
    bool createFails;
    int failWriteAt;
    bool commitFails;
    const char* says;
  };
  for (const Case c : {Case{"create", true, -1, false, "konnte nicht angelegt werden"},
                       Case{"first write", false, 0, false, "konnte nicht geschrieben werden"},
                       Case{"later write", false, 20, false, "konnte nicht geschrieben werden"},
                       Case{"commit", false, -1, true, "konnte nicht geschrieben werden"}}) {
    SCOPED_TRACE(c.name);
    p.files = {};
    p.files.disk[kPath] = "an earlier report";
    view.log.clear();
    view.messages.clear();
    fills.clear();
    tickOnly({1, 2, 3});
    if (c.createFails) p.files.createError = FileError{5, "Zugriff verweigert"};
    p.files.failWriteAt = c.failWriteAt;
    if (c.commitFails) p.files.commitError = FileError{112, "Datenträger voll"};
    writer.Image17_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    const std::string& message = view.messages[0];
    EXPECT_NE(message.find("c:\\SystemInfo.txt"), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    const std::string reason = c.createFails   ? "Zugriff verweigert (Fehler 5)"
                               : c.commitFails ? "Datenträger voll (Fehler 112)"
                                               : "disk full (Fehler 112)";
    EXPECT_NE(message.find(reason), std::string::npos) << message;
    EXPECT_EQ(view.log.back(), "message error " + message);
    EXPECT_LT(indexInLog("lade down"), static_cast<long>(view.log.size()) - 1);
    EXPECT_EQ(file(), "an earlier report");
    // The run ends at the failure.
    EXPECT_EQ(fills.size(), c.createFails         ? 0u
                            : c.failWriteAt == 20 ? 2u
                            : c.failWriteAt == 0  ? 1u
                                                  : 3u);
    expectWaitWindowCameAndWent();
  }
}

TEST_F(ReportTest, SecondClickDuringARunIsRefused) {
  tickOnly({1, 2});
  // The user clicks "Daten Auswerten" again while the first section's pause pumps events.
  p.pump.at(p.clock.now + 0.1, [&] { form.OnClick(kImage17); });
  p.pump.step = 0.2;
  writer.Image17_Click();
  EXPECT_EQ(p.files.creates, 1);
  EXPECT_EQ(fills, (std::vector<int>{0, 1}));
  EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "lade shown"), 1);
  EXPECT_EQ(view.messages.size(), 1u);
  // Once the run is over, the button works again.
  writer.Image17_Click();
  EXPECT_EQ(p.files.creates, 2);
}

TEST_F(ReportTest, ProgramEndingDuringARunStopsItWithoutMessageAndKeepsTheEarlierReport) {
  p.files.disk[kPath] = "an earlier report";
  tickOnly({1, 2, 3});
  p.pump.step = 0.1;
  p.pump.at(p.clock.now + 1.2, [&] { p.pump.ending = true; });  // during the second pause
  writer.Image17_Click();
  EXPECT_EQ(fills, (std::vector<int>{0, 1}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(file(), "an earlier report");
  expectWaitWindowCameAndWent();
}
