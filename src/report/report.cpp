#include "report/report.h"

#include <algorithm>
#include <memory>

#include "app/controls.h"
#include "app/prgkern.h"
#include "app/scope.h"

namespace velkaro::Report {

std::vector<std::string> SectionLines(const Section& section, View& view, const AppState& state) {
  std::vector<std::string> lines{"", section.header};
  if (section.drives) {
    // The count never exceeds the table in practice (26 drive letters give 156); a larger one
    // prints what the table holds.
    const int last = std::min(state.LaufwerkAnzahl, AppState::kDriveLineSlots - 1);
    for (int i = 0; i <= last; ++i) lines.push_back(state.LaufwerkZeilen[i]);
    return lines;
  }
  for (const FieldLine& line : section.lines)
    lines.push_back(line.caption + std::string(line.tabs, '\t') + view.text(line.field));
  return lines;
}

std::string FailureMessage(bool created, const FileError& error) {
  std::string message = std::string("Die Datei ") + kReportPath + " konnte nicht " +
                        (created ? "geschrieben" : "angelegt") + " werden.\n\n";
  if (!error.reason.empty()) message += error.reason + " ";
  return message + "(Fehler " + std::to_string(error.code) + ")";
}

// What a run holds: the writer's run in progress, the wait window and the new report. However
// the run ends, the wait window goes, and a report that was not completed is dropped: the
// earlier report stays as it was.
class Writer::Run {
 public:
  // The wait window is up already (since the click).
  explicit Run(Writer& writer) : asked_(writer.asked_), writer_(writer) { writer_.run_ = this; }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;
  ~Run() {
    end();
    writer_.run_ = nullptr;
  }
  // Drops an unfinished report and takes the wait window down.
  void end() {
    file.reset();
    if (waitShown_) writer_.view_.showWaitWindow(false);
    waitShown_ = false;
  }
  std::unique_ptr<OutputFile> file;

 private:
  ScopedFlag asked_;  // the writer's: a run is asked for or in progress, until this one ends
  Writer& writer_;
  bool waitShown_ = true;
};

Writer::Writer(Form1& form, View& view, Platform& platform, AppState& state)
    : form_(form), view_(view), platform_(platform), state_(state) {}

void Writer::Image17_Click() {
  if (running()) return;
  asked_ = true;
  view_.showWaitWindow(true);
  form_.afterFills([this] { RunNow(); });
}

void Writer::RunNow() {
  Run run(*this);
  std::string failure;
  const Outcome outcome = platform_.pump.ending() ? Outcome::Ending : Write(run, failure);
  run.end();
  // A program that is ending shows no message: the run just stops.
  if (outcome == Outcome::Failed) view_.messageBox(failure, MessageIcon::Error);
  if (outcome == Outcome::Done) view_.messageBox(kDoneMessage, MessageIcon::Information);
}

void Writer::drop() {
  if (run_) run_->end();
}

bool Writer::GoesOn(const Run& run) {
  return platform_.pump.doEvents() && run.file;
}

Writer::Outcome Writer::Write(Run& run, std::string& failure) {
  CreatedFile created = platform_.files.create(kReportPath);
  if (!created.file) {
    failure = FailureMessage(false, created.error);
    return Outcome::Failed;
  }
  run.file = std::move(created.file);
  for (const Section& section : Sections()) {
    if (view_.value(ids::Check(section.check)) != 1) continue;
    form_.MenuLabel_Click(section.menu);
    PrgKern::Pause(platform_.clock, platform_.pump, kSectionPause);
    if (!GoesOn(run)) return Outcome::Ending;
    for (const std::string& line : SectionLines(section, view_, state_)) {
      if (auto error = run.file->write(line + "\r\n")) {
        failure = FailureMessage(true, *error);
        return Outcome::Failed;
      }
    }
    form_.Label10_Click();
  }
  // A hold that another program has on the report for a moment is waited out, with the window's
  // events going on; any other failure, or a hold that lasts, ends the run.
  for (int retries = 0;; ++retries) {
    const auto error = run.file->commit();
    if (!error) return Outcome::Done;
    if (!error->retry || retries == kCommitRetries) {
      failure = FailureMessage(true, *error);
      return Outcome::Failed;
    }
    PrgKern::Pause(platform_.clock, platform_.pump, kCommitRetryPause);
    if (!GoesOn(run)) return Outcome::Ending;
  }
}

}  // namespace velkaro::Report
