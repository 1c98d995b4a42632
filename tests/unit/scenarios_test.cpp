// The whole program on fake machines: each scenario (tests/data/scenarios/NAME.json) describes a
// machine and what the user does (start, click, hover, press, tick, set, end, session-end; a step
// can also come later, at the window's events, or during a wait for the management service); every
// step's effects (fields, lists, panels, colours, what the window shows each time it lets events
// in, and the calls that are behaviour: programs started, power actions, registry writes, files,
// ports, the probe document, the service's queries and their deadlines, the memory taken,
// messages, the 9x statistics key) are written down and compared with NAME.golden.
// VELKARO_UPDATE_GOLDEN=1 writes the golden files anew (read the diff before committing them).
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "app/splash.h"
#include "fakes/fake_view.h"
#include "fakes/fake_json.h"

using namespace velkaro;
using namespace velkaro::fakes;

namespace {

const std::filesystem::path kScenarios = std::filesystem::path(VELKARO_TEST_DATA) / "scenarios";

// The splash and the main window as the start-up sees them, on the fake window.
struct StartWindows : SplashScreen, MainWindow {
  explicit StartWindows(Form1& f, std::vector<std::string>& out) : form(f), log(out) {}
  void show() override { log.push_back(shown ? "main shown" : "splash shown"); }
  void close() override {
    log.push_back("splash closed");
    shown = true;
  }
  void load() override {
    log.push_back("main loaded");
    form.Form_Load();
  }
  Form1& form;
  std::vector<std::string>& log;
  bool shown = false;
};

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (const char c : s)
    out += c == '\t'   ? "\\t"
           : c == '\r' ? "\\r"
           : c == '\n' ? "\\n"
           : c         ? std::string(1, c)
                       : "\\0";
  return out + "\"";
}

std::string Colour(Rgb c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

// What changed in the window between two of its states, a line for each change.
std::vector<std::string> Changes(const std::map<int, FakeView::Control>& was,
                                 const std::map<int, FakeView::Control>& now) {
  std::vector<std::string> lines;
  for (const auto& [id, c] : now) {
    const auto& b = was.at(id);
    const std::string name = FindControl(id) ? FindControl(id)->name : std::to_string(id);
    if (c.text != b.text) lines.push_back(name + " " + Quoted(c.text));
    if (c.visible != b.visible) lines.push_back(name + (c.visible ? " shown" : " hidden"));
    if (c.items != b.items) {
      lines.push_back(name + " items");
      for (const auto& item : c.items) lines.back() += " " + Quoted(item);
    }
    if (c.value != b.value) lines.push_back(name + " value " + std::to_string(c.value));
    if (c.fore != b.fore) lines.push_back(name + " colour " + Colour(c.fore));
  }
  return lines;
}

// Runs a scenario and writes down what every step did.
class ScenarioRun {
 public:
  explicit ScenarioRun(const Json& scenario) {
    Describe(w.fake, scenario.value("machine", Json::object()));
    w.fake.shell.onFind = [this](const std::string& doc) {
      calls.push_back("browser lookup " + doc + (w.fake.devices.exists(doc) ? "" : " (missing)"));
    };
    // Each time the window lets events in: what it shows by then, and the memory held.
    w.fake.pump.onPump = [this] {
      Logged();
      std::string line = "  events";
      if (w.fake.arena.held()) line += ", " + std::to_string(w.fake.arena.held()) + " chunks held";
      for (const auto& change : Changes(shown, w.view.controls())) line += " | " + change;
      pumped.push_back(line);
      shown = w.view.controls();
    };
    for (const auto& step : scenario["steps"]) Step(step);
  }
  std::string out;

 private:
  void Step(const Json& step) {
    if (step.is_object()) {
      Describe(w.fake, step["machine"]);
      out += "== machine changed\n";
      return;
    }
    Before();
    Do(step);
    After("== " + step.get<std::string>());
  }

  void Do(const std::string& s) {
    const std::string verb = s.substr(0, s.find(' '));
    const std::string arg = s.find(' ') == std::string::npos ? "" : s.substr(s.find(' ') + 1);
    const auto space = arg.find(' ');
    if (verb == "later") {  // "later 0.1 click Image17": that step at the first events 0.1 s on
      const std::string later = arg.substr(space + 1);
      w.fake.pump.at(w.fake.clock.now + std::stod(arg), [this, later] { Do(later); });
    } else if (verb == "during") {  // "during 1 click Label3": that step at the service's 2nd wait
      auto& waits = w.fake.management.duringWait;  // from now (a connection's or a query's)
      const size_t n = std::stoul(arg);
      const std::string later = arg.substr(space + 1);
      if (waits.size() <= n) waits.resize(n + 1);
      waits[n] = [this, before = waits[n], later] {
        if (before) before();
        Do(later);
      };
    } else if (verb == "wait") {  // "wait 60": time passes with nothing to do
      w.fake.clock.now += std::stod(arg);
    } else if (verb == "end") {  // the program starts ending (its window was closed)
      w.fake.pump.quitting = true;
    } else if (verb == "session-end") {
      // Windows ends the session: what the window's handler leaves when it returns (Windows may
      // end the process right then), and then the program's end.
      w.form.Form_Unload();
      calls.push_back("session ended; unfinished file versions: " +
                      std::to_string(w.fake.files.unfinished));
      w.fake.pump.quitting = true;
    } else if (verb == "start") {
      StartWindows windows(w.form, calls);
      StartUp start(w.fake.platform, w.state, windows, windows);
      if (!arg.empty())  // "start 1.6": the hand-over tick comes 1.6 s into the splash's load
        w.fake.pump.at(w.fake.clock.now + std::stod(arg), [&] { start.Splash_Timer1(); });
      start.Splash_Load();
      start.Splash_Timer1();
    } else if (verb == "click") {
      w.form.OnClick(FindControl(arg)->id);
    } else if (verb == "hover") {
      w.form.OnMouseMove(arg == "Form1" ? ids::kForm : FindControl(arg)->id);
    } else if (verb == "press") {  // "press Image10 2": a mouse button down on a control
      w.form.OnMouseDown(FindControl(arg.substr(0, space))->id, std::stoi(arg.substr(space + 1)), 0,
                         0, 0);
    } else if (verb == "tick") {
      for (int i = 0; i < std::stoi(arg); ++i, w.fake.clock.now += 0.25) w.form.Timer1_Timer();
    } else if (verb == "set") {  // "set Check3 2": a control's value (2: a greyed check box)
      w.view.setValue(FindControl(arg.substr(0, space))->id, std::stoi(arg.substr(space + 1)));
    } else {
      ADD_FAILURE() << "unknown step " << s;
    }
  }

  // The wait window and the pointer since the last look, in order with the events.
  void Logged() {
    for (; logged < w.view.log.size(); ++logged)
      if (w.view.log[logged].rfind("lade", 0) == 0 || w.view.log[logged].rfind("pointer", 0) == 0)
        pumped.push_back("  " + w.view.log[logged]);
  }

  void Before() {
    controls = shown = w.view.controls();
    pumped.clear();
    files = w.fake.files.disk;
    commits = w.fake.files.commits;
    calls.clear();
    logged = w.view.log.size();
    asked = w.fake.arena.requested.size();
    chunks = w.fake.arena.chunks.size();
    started = w.fake.clock.now;
    drags = w.view.drags;
    ends = w.view.ends;
    w.fake.shell.started.clear();
    w.fake.power.calls.clear();
    w.fake.registry.writes.clear();
    w.fake.devices.opened.clear();
    w.fake.devices.events.clear();
    w.fake.perf.log.clear();
    w.fake.management.log.clear();
    w.fake.files.reads.clear();
    w.view.messages.clear();
  }

  void After(const std::string& title) {
    out += title + "\n";
    for (const auto& change : Changes(controls, w.view.controls())) out += change + "\n";
    for (const auto& call : calls) out += "  " + call + "\n";
    Logged();
    for (const auto& line : pumped) out += line + "\n";
    const auto& arena = w.fake.arena;
    if (arena.requested.size() != asked) {
      int blank = 0;
      for (size_t i = chunks; i < arena.chunks.size(); ++i) blank += arena.chunks[i].allBlanks;
      out += "  memory: " + std::to_string(arena.requested.size() - asked) + " chunks of " +
             std::to_string(arena.requested.back()) + " characters asked, " +
             std::to_string(arena.chunks.size() - chunks) + " given, " + std::to_string(blank) +
             " given back written blank, " + std::to_string(arena.held()) + " still held, " +
             std::to_string(arena.strayReleases) + " stray releases\n";
    }
    char took[32];
    std::snprintf(took, sizeof took, "  took %.1f s\n", w.fake.clock.now - started);
    if (w.fake.clock.now - started >= 0.05) out += took;
    if (w.view.drags != drags) out += "  the window follows the mouse\n";
    if (w.fake.files.unfinished) out += "  unfinished file versions\n";
    if (w.fake.files.commits - commits > 1)
      out += "  commit tried " + std::to_string(w.fake.files.commits - commits) + " times\n";
    if (w.view.ends != ends) out += "  the program ends\n";
    for (const auto& [line, style] : w.fake.shell.started)
      out += "  started " + Quoted(line) + " style " + std::to_string(int(style)) + "\n";
    for (const auto& call : w.fake.power.calls) out += "  power " + call + "\n";
    for (const auto& write : w.fake.registry.writes)
      out += "  registry write " + write.key + "\\" + write.name + " type " +
             std::to_string(write.data.type) + " " + Quoted(text::Utf16LeToUtf8(write.data.bytes)) +
             "\n";
    std::set<std::string> wmi;  // what the service was asked or not, once each
    for (const auto& line : w.fake.management.log)
      if (wmi.insert(line).second) out += "  wmi " + line + "\n";
    for (const auto& read : w.fake.files.reads) out += "  read " + read + "\n";
    for (const auto& port : w.fake.devices.opened) out += "  port " + port + "\n";
    for (const auto& event : w.fake.devices.events) out += "  " + event + "\n";
    for (const auto& entry : w.fake.perf.log)
      if (entry.rfind("dyn ", 0) == 0) out += "  " + entry + "\n";
    for (const auto& message : w.view.messages)
      out += std::string("  message, ") +
             (message.icon == MessageIcon::Error ? "error icon " : "information icon ") +
             Quoted(message.text) + "\n";
    for (const auto& [path, text] : w.fake.files.disk)
      if (!files.count(path) || files.at(path) != text) {
        out += "  file " + path + "\n";
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) out += "  | " + Quoted(line) + "\n";
      }
  }

  ComposedForm<> w;
  std::map<int, FakeView::Control> controls, shown;  // at the step's start, at the last events
  std::vector<std::string> pumped;
  std::map<std::string, std::string> files;
  std::vector<std::string> calls;
  int drags = 0, ends = 0, commits = 0;
  size_t logged = 0, asked = 0, chunks = 0;
  double started = 0;
};

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares a text with its golden file (or writes the file anew, see above); on a difference,
// says where the first one is.
void ExpectGolden(const std::string& actual, const std::filesystem::path& golden) {
  if (std::getenv("VELKARO_UPDATE_GOLDEN")) {
    // Written anew, and failed: a run that writes its own expectations proves nothing.
    if (Slurp(golden) == actual) return;
    std::ofstream(golden, std::ios::binary) << actual;
    ADD_FAILURE() << golden.filename() << " written anew: read its diff";
    return;
  }
  const std::string expected = Slurp(golden);
  if (actual == expected) return;
  std::istringstream a(actual), e(expected);
  std::string la, le, step;
  for (int n = 1; std::getline(e, le); ++n) {
    if (!std::getline(a, la)) la = "<end>";
    if (le.rfind("== ", 0) == 0) step = le;
    if (la != le) {
      ADD_FAILURE() << golden.filename() << ":" << n << " " << step << "\n  expected: " << le
                    << "\n  actual:   " << la;
      return;
    }
  }
  ADD_FAILURE() << golden << ": the actual text goes on beyond it";
}

}  // namespace

TEST(Controls, TheTableHoldsEveryControlOnceInsideItsContainerAsItsGoldenFileSays) {
  std::set<int> ids;
  std::set<std::string> names;
  std::string dump;
  for (const auto& c : Form1Controls()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.name;
    EXPECT_TRUE(names.insert(c.name).second) << c.name;
    EXPECT_EQ(FindControl(c.name), &c);
    const ControlSpec* parent = FindControl(c.parent);
    if (c.parent != ids::kForm) {
      ASSERT_TRUE(parent &&
                  (parent->kind == ControlKind::Panel || parent->kind == ControlKind::Frame))
          << c.name;
    }
    EXPECT_LE(c.left + c.width, parent ? parent->width : layout::kFormWidth) << c.name;
    EXPECT_LE(c.top + c.height, parent ? parent->height : layout::kFormHeight) << c.name;
    dump += c.name + " kind " + std::to_string(int(c.kind)) + " in " +
            (parent ? parent->name : "Form1") + " at " + std::to_string(c.left) + "," +
            std::to_string(c.top) + " size " + std::to_string(c.width) + "x" +
            std::to_string(c.height) + " " + Quoted(c.caption) + " fore " + Colour(c.fore) +
            " back " + Colour(c.back) + " align " + std::to_string(int(c.align)) + " font " +
            std::to_string(int(c.font)) + (c.visible ? " shown" : " hidden") + " value " +
            std::to_string(c.value) + " tip " + Quoted(c.tooltip) + " picture " +
            std::to_string(int(c.art)) + "\n";
  }
  ExpectGolden(dump, kScenarios.parent_path() / "controls.golden");
}

TEST(Scenarios, EachFakeMachineDoesWhatItsGoldenFileSays) {
  // Every scenario has its golden file and every golden file its scenario: none can vanish.
  std::set<std::string> scenarios, goldens;
  for (const auto& entry : std::filesystem::directory_iterator(kScenarios))
    (entry.path().extension() == ".json" ? scenarios : goldens).insert(entry.path().stem());
  EXPECT_EQ(scenarios, goldens);
  EXPECT_EQ(scenarios.size(), 11u);
  for (const std::string& name : scenarios) {
    SCOPED_TRACE(name);
    ExpectGolden(ScenarioRun(Json::parse(Slurp(kScenarios / (name + ".json")))).out,
                 kScenarios / (name + ".golden"));
  }
}
