// The report writer behind "Daten Auswerten": for every ticked category it brings the panel up
// through its menu action, lets it stand, and copies the panel's fields into the report file.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/form1.h"
#include "app/view.h"
#include "platform/platform.h"
#include "report/report_table.h"

namespace velkaro::Report {

inline constexpr double kSectionPause = 0.9;
inline constexpr const char* kDoneMessage = "Alle Daten Ausgewertet!";

// The lines of a section as they stand now (without line ends): an empty line, the header,
// then the field lines or, for the drives, entries 0 to LaufwerkAnzahl of the drive line table.
std::vector<std::string> SectionLines(const Section& section, View& view, const AppState& state);

// The error message for a report file that could not be created or written.
std::string FailureMessage(bool created, const FileError& error);

class Writer {
 public:
  Writer(Form1& form, View& view, Platform& platform, AppState& state);

  // The click on Image17. The wait window comes up at once; the run starts once no fill is
  // running (a click taken while a fill waits for a service), so that it never copies a panel
  // whose fill is still under way. A click while a run is asked for or in progress is refused:
  // the pauses pump window events, so the button can be clicked again meanwhile.
  void Image17_Click();

  bool running() const { return running_; }

 private:
  enum class Outcome { Done, Failed, Ending };
  class Run;
  void RunNow();
  Outcome Write(Run& run, std::string& failure);

  Form1& form_;
  View& view_;
  Platform& platform_;
  AppState& state_;
  bool running_ = false;
};

}  // namespace velkaro::Report
