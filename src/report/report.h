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
// A report that another program holds for a moment when it is put in place (a virus scanner,
// an indexer) is tried again this often, this long apart: about a second in all.
inline constexpr int kCommitRetries = 10;
inline constexpr double kCommitRetryPause = 0.1;

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

  // Drops a run in progress at once, for an end of the program that cannot wait until the run
  // winds down (the Windows session ends): the unfinished report is deleted, the earlier one
  // stays, the wait window goes. The run then stops at its next events.
  void drop();

  // Whether a run is asked for (waiting for the fills) or in progress.
  bool running() const { return asked_; }

 private:
  enum class Outcome { Done, Failed, Ending };
  class Run;
  void RunNow();
  Outcome Write(Run& run, std::string& failure);
  // Processes pending window events; false once the program is ending or the run was dropped.
  bool GoesOn(const Run& run);

  Form1& form_;
  View& view_;
  Platform& platform_;
  AppState& state_;
  bool asked_ = false;  // from the click to the run's end
  Run* run_ = nullptr;  // the run in progress
};

}  // namespace velkaro::Report
