// Decision tables, formats and conversions row by row from data (tests/data/tables/NAME.tsv):
// each row is the inputs of the function NAME, then what it must give, TAB-separated. In a
// cell, \t \r \n \0 \\ and \xHH stand for their characters; "-" is "none" (no value, a failure);
// a locale is "de" or "en", optionally with "grouping=3;2;0" or "negative=0" after it.
#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "app/layout.h"
#include "app/prgkern.h"
#include "app/splash.h"
#include "collectors/computer.h"
#include "collectors/cpu.h"
#include "collectors/grafik.h"
#include "collectors/laufwerke.h"
#include "collectors/netzwerk.h"
#include "collectors/ram.h"
#include "collectors/ram_release.h"
#include "collectors/windows_system.h"
#include "cpuload/clscpuload.h"
#include "fakes/fake_json.h"
#include "fakes/fake_view.h"
#include "platform/registry_values.h"
#include "program/status_line.h"
#include "report/report.h"
#include "text/numfmt.h"
#include "tools/launchers.h"
#include "tools/reboot.h"

using namespace velkaro;
using namespace velkaro::fakes;
using Cells = std::vector<std::string>;

namespace {

std::string Unescape(const std::string& cell) {
  std::string out;
  for (size_t i = 0; i < cell.size(); ++i) {
    if (cell[i] != '\\' || i + 1 == cell.size()) {
      out += cell[i];
      continue;
    }
    const char c = cell[++i];
    if (c == 'x') {
      out += static_cast<char>(std::stoi(cell.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c == '0' ? '\0' : c;
    }
  }
  return out;
}

std::string Or(const std::optional<std::string>& s) {
  return s ? *s : "-";
}

numfmt::NumberSettings Settings(const std::string& cell) {
  std::istringstream words(cell);
  std::string word;
  words >> word;
  numfmt::NumberSettings s = Locale(word);
  while (words >> word) {
    if (word.rfind("grouping=", 0) == 0) s.grouping = numfmt::ParseGrouping(word.substr(9));
    if (word.rfind("negative=", 0) == 0) s.negativeOrder = std::stoi(word.substr(9));
  }
  return s;
}

// A whole number: decimal, or hexadecimal after "0x" (so "08" is eight).
uint64_t U(const std::string& cell) {
  const bool hex = cell.rfind("0x", 0) == 0 || cell.rfind("0X", 0) == 0;
  return std::stoull(cell, nullptr, hex ? 16 : 10);
}

std::string Hex(const std::string& bytes) {
  std::string out;
  char b[4];
  for (const unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%s%02x", out.empty() ? "" : " ", c);
    out += b;
  }
  return out;
}

// A property value given as JSON ("-": missing altogether).
std::optional<WmiValue> Property(const std::string& cell) {
  if (cell == "-") return std::nullopt;
  return Value(Json::parse(cell));
}

struct Table {
  size_t inputs;
  std::function<std::string(const Cells&)> run;
};

VersionRecord Version(const Cells& c) {
  VersionRecord v;
  v.platformId = U(c[0]), v.major = U(c[1]), v.minor = U(c[2]);
  v.servicePack = c[3];
  if (v.servicePack.size() < 128) v.servicePack.resize(128, '\0');
  v.productType = U(c[4]), v.suiteMask = U(c[5]);
  return v;
}

std::string CpuAverages(const Cells& c) {
  FakePerf perf;
  FakeSystem system;
  system.versions[156].platformId = 2;
  std::istringstream readings(c[1]);
  for (std::string r; readings >> r;)
    perf.values.push_back(
        {std::stod(r), r.find('/') == std::string::npos
                           ? pdh::kValidData
                           : static_cast<uint32_t>(U(r.substr(r.find('/') + 1)))});
  clsCPULoad sampler(perf, system);
  if (c[0] != "-") sampler.StackSize(std::stoi(c[0]));
  std::string out;
  for (size_t i = perf.values.size(); i > 0; --i)
    out += (out.empty() ? "" : " ") + std::to_string(sampler.Val());
  return out;
}

// The sampler on a machine (JSON as in a scenario), made, read once and dropped: the counter
// paths it tries, whether it closes its query, and the source it settles on.
std::string CpuSource(const Cells& c) {
  FakePlatform f;
  Describe(f, Json::parse(c[0]));
  std::string source;
  {
    clsCPULoad sampler(f.perf, f.system);
    sampler.Val();
    source = std::to_string(int(sampler.source()));
  }
  // The counter paths tried, whether the query was closed, the 9x statistics key read.
  std::string calls;
  for (const auto& call : f.perf.log) {
    if (call.rfind("add ", 0) == 0) calls += call.substr(0, call.rfind(" to ")) + " | ";
    if (call.rfind("close", 0) == 0) calls += "closed | ";
    if (call.rfind("dyn ", 0) == 0) calls += call + " | ";
  }
  return calls + "source " + source;
}

// The sampler on a machine (JSON as in a scenario) with a capacity ("-": as made), read n times:
// each reading and the source it is on afterwards.
std::string CpuLoad(const Cells& c) {
  FakePlatform f;
  Describe(f, Json::parse(c[0]));
  clsCPULoad sampler(f.perf, f.system);
  if (c[1] != "-") sampler.StackSize(std::stoi(c[1]));
  std::string out;
  for (int i = std::stoi(c[2]); i > 0; --i) {
    const int value = sampler.Val();
    out += (out.empty() ? "" : " ") + std::to_string(value) + "/" +
           std::to_string(int(sampler.source()));
  }
  return out;
}

// A pause from a clock time, the pump's step, the seconds, when the program starts ending ("-":
// never), an event due 0.3 s in: the clock afterwards, the waits, the events run.
std::string Pause(const Cells& c) {
  FakeClock clock(std::stod(c[0]));
  FakePump pump(clock);
  pump.step = std::stod(c[1]);
  int events = 0;
  pump.at(clock.now + 0.3, [&] { ++events; });
  if (c[3] != "-") pump.at(std::stod(c[3]), [&] { pump.quitting = true; });
  PrgKern::Pause(clock, pump, std::stod(c[2]));
  char out[64];
  std::snprintf(out, sizeof out, "%.2f %d %d", clock.now, pump.waits, events);
  return out;
}

// The fields a menu label's fill shows on a machine (JSON as in a scenario), " | " between them.
std::string FillShows(const Cells& c) {
  ComposedForm<> w;
  Describe(w.fake, Json::parse(c[0]));
  w.form.OnClick(FindControl(c[1])->id);
  std::istringstream names(c[2]);
  std::string out;
  for (std::string name; names >> name;)
    out += (out.empty() ? "" : " | ") + w.view.text(FindControl(name)->id);
  return out;
}

// A table whose function is one expression of the row's cells `c`.
#define ROW(inputs, ...)                                              \
  {                                                                   \
    inputs, [](const Cells& c) -> std::string { return __VA_ARGS__; } \
  }

std::string RegistryRecord(const Cells& c) {
  FakeRegistry registry;
  if (c[0] != "-") registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", c[0]);
  registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Velkaro", "Path", "D:\\old.exe");
  const bool wrote = Splash::UpdateRegistryRecord(registry, "C:\\Tools\\Velkaro\\velkaro.EXE");
  return std::string(wrote ? "written " : "kept ") +
         Regestry::ReadRegPath(registry, Splash::kRecordPath) + " " +
         Regestry::ReadRegPath(registry, Splash::kVersionPath) + " " +
         Regestry::ReadRegPath(registry, Splash::kPathPath);
}

std::string RegWrite(const Cells& c) {
  FakeRegistry registry;
  if (!Regestry::WriteRegPath(registry, c[0], c[1], c[2])) return "refused";
  const auto& w = registry.writes.at(0);
  return std::to_string(int(w.root)) + " " + w.key + " " + w.name + " " +
         std::to_string(w.data.type) + " " + Hex(w.data.bytes);
}

// The registry of a JSON list of rows, as in a scenario.
FakeRegistry Registry(const std::string& rows) {
  FakeRegistry registry;
  for (const auto& row : Json::parse(rows)) PutRegistry(registry, row);
  return registry;
}

std::string ReadRegPath(const Cells& c) {
  FakeRegistry r = Registry(c[0]);
  const std::string value = Regestry::ReadRegPath(r, c[1]);
  return value + (r.queries.empty() ? " (not asked)" : "");
}

std::string ReadRegValue(const Cells& c) {
  FakeRegistry r = Registry(c[0]);
  const auto p = Regestry::ParseRegPath(c[1]);
  return Regestry::ReadRegValue(r, p->root, p->key, p->value);
}

std::string RegPath(const Cells& c) {
  const auto p = Regestry::ParseRegPath(c[0]);
  return p ? std::to_string(int(p->root)) + " " + p->key + " " + p->value : "-";
}

std::string WmiMoniker(const Cells& c) {
  const auto m = ParseWmiMoniker(c[0]);
  return m ? m->server + " " + m->nameSpace + " " + m->objectPath : "-";
}

std::string Uptime(const Cells& c) {
  FakeClock clock;
  clock.uptimeMs = U(c[0]);
  return PrgKern::UptimeText(clock);
}

std::string Busy(const Cells& c) {
  const auto p = BusyPercent({U(c[0]), U(c[1]), U(c[2])}, {U(c[3]), U(c[4]), U(c[5])});
  return p ? numfmt::General(*p, numfmt::NumberSettings::English()) : "-";
}

std::string FindExecutable(const Cells& c) {
  FakeShell shell;
  if (c[0] != "-") shell.associations[".html"] = c[0];
  return Netzwerk::FindExecutableOf(shell, "C:\\Velkaro\\test~12345.html");
}

// The power calls an action makes; each is refused, which must change nothing.
std::string PowerCalls(const Cells& c) {
  FakePower power;
  power.succeeds = false;
  Reboot::PowerAction(power, c[0]);
  std::string out;
  for (const auto& call : power.calls) out += (out.empty() ? "" : " | ") + call;
  return out;
}

std::string Grouping(const Cells& c) {
  std::string out;
  for (int g : numfmt::ParseGrouping(c[0])) out += (out.empty() ? "" : ";") + std::to_string(g);
  return out;
}

const std::map<std::string, Table>& Tables() {
  using namespace velkaro::text;
  static const std::map<std::string, Table> tables = {
      {"os_name", ROW(6, Windows::OSNameFor(Version(c)))},
      {"browser_kind", ROW(1, Netzwerk::BrowserKind(c[0]))},
      {"probe_path", ROW(1, Netzwerk::ProbePath(c[0]))},
      {"find_executable", {1, FindExecutable}},
      {"percent_text", ROW(2, Computer::PercentText(U(c[0]), Settings(c[1])))},
      {"hours_text", ROW(2, Computer::HoursText(uint32_t(std::stoll(c[0])), Settings(c[1])))},
      {"processor_type", ROW(1, Or(CPU::ProcessorTypeText(U(c[0]))))},
      {"processor_count", ROW(3, std::to_string(CPU::ProcessorCount(
                                     {uint32_t(U(c[0])), uint32_t(U(c[1])),
                                      c[2] == "-" ? std::nullopt : std::optional(U(c[2]))})))},
      {"drive_kb", ROW(2, Or(Laufwerke::KilobyteFigure(Property(c[0]), Settings(c[1]))))},
      {"resolution", ROW(4, Grafik::ResolutionText({std::stod(c[0]), std::stod(c[1]),
                                                    std::stod(c[2]), std::stod(c[3])}))},
      {"kilobyte_text", ROW(2, ram::KilobyteText(U(c[0]), Settings(c[1])))},
      {"general", ROW(2, numfmt::General(std::stod(c[0]), Settings(c[1])))},
      {"pattern", ROW(3, numfmt::Pattern(std::stod(c[0]), c[1], Settings(c[2])))},
      {"grouped", ROW(2, numfmt::Grouped(std::stod(c[0]), Settings(c[1])))},
      {"parse_grouping", {1, Grouping}},
      {"cut_at_nul", ROW(1, CutAtNul(c[0]))},
      {"trim_blanks", ROW(1, TrimBlanks(c[0]))},
      {"join_path", ROW(2, JoinPath(c[0], c[1]))},
      {"folder_of", ROW(1, FolderOf(c[0]))},
      {"stem_of", ROW(1, StemOf(c[0]))},
      {"utf8_to_utf16", ROW(1, Hex(Utf8ToUtf16Le(c[0])))},
      {"utf16_to_utf8", ROW(1, Utf16LeToUtf8(HexBytes(c[0])))},
      {"reg_path", {1, RegPath}},
      {"reg_decode",
       ROW(2, c[0] == "-" ? Regestry::DecodeRegValue(std::nullopt)
                          : Regestry::DecodeRegValue(RegData{uint32_t(U(c[0])), HexBytes(c[1])}))},
      {"read_reg_path", {2, ReadRegPath}},
      {"read_reg_value", {2, ReadRegValue}},
      {"registry_record", {1, RegistryRecord}},
      {"reg_write", {3, RegWrite}},
      {"dx_version", ROW(1, Splash::ExtractDirectXVersion(c[0]))},
      {"dump_path", ROW(1, Splash::DumpPath(c[0]))},
      {"dxdiag_command", ROW(1, Splash::DxDiagCommand(c[0]))},
      {"recorded_path", ROW(1, Splash::RecordedProgramPath(c[0]))},
      {"wmi_moniker", {1, WmiMoniker}},
      {"field_text", ROW(1, Or(FieldText(*Property(c[0]))))},
      {"with_suffix", ROW(2, Or(WithSuffix(*Property(c[0]), c[1])))},
      {"join_array", ROW(2, Or(JoinArray(*Property(c[0]), c[1])))},
      {"uptime", {1, Uptime}},
      {"date_time", ROW(6, DateTimeText({int(U(c[0])), int(U(c[1])), int(U(c[2])), int(U(c[3])),
                                         int(U(c[4])), int(U(c[5]))}))},
      {"chunk_chars", ROW(2, std::to_string(ram::ChunkChars(U(c[0]), U(c[1]))))},
      {"release_start", ROW(2, ram::ReleaseStartText(U(c[0]), Settings(c[1])))},
      {"release_step", ROW(2, ram::ReleaseStepText(std::stod(c[0]), Settings(c[1])))},
      {"launcher_command",
       ROW(4, launchers::CommandLine({Art::None, c[0].c_str(), c[1].c_str(), c[2] == "1"}, c[3]))},
      {"power_action", {1, PowerCalls}},
      {"failure_message", ROW(3, Report::FailureMessage(c[0] == "1", {uint32_t(U(c[1])), c[2]}))},
      {"cpu_average", {2, CpuAverages}},
      {"fill", {3, FillShows}},
      {"cpu_source", {1, CpuSource}},
      {"cpu_load", {3, CpuLoad}},
      {"pause", {4, Pause}},
      {"busy_percent", {6, Busy}},
      {"twips_to_pixels", ROW(2, std::to_string(TwipsToPixels(std::stoi(c[0]), std::stoi(c[1]))))},
  };
  return tables;
}

const std::filesystem::path kTables = std::filesystem::path(VELKARO_TEST_DATA) / "tables";

std::vector<std::string> TableFiles() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kTables))
    names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// Every row of one table; a malformed row fails this table, naming its line, and the rows after
// it still run.
class TableRows : public testing::TestWithParam<std::string> {};

TEST_P(TableRows, EveryRow) {
  const std::string name = GetParam();
  const auto table = Tables().find(name);
  ASSERT_NE(table, Tables().end()) << "no function for " << name << ".tsv";
  std::ifstream in(kTables / (name + ".tsv"));
  int rows = 0, number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(name + ".tsv:" + std::to_string(number));
    Cells cells;
    std::istringstream split(line);
    for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(Unescape(cell));
    if (line.back() == '\t') cells.emplace_back();
    if (cells.size() <= table->second.inputs) {
      ADD_FAILURE() << "a row needs " << table->second.inputs << " inputs and what they give";
      continue;
    }
    std::string expected;
    for (size_t i = table->second.inputs; i < cells.size(); ++i)
      expected += (i > table->second.inputs ? "\t" : "") + cells[i];
    try {
      EXPECT_EQ(table->second.run(cells), expected);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "the row cannot be read: " << e.what();
    }
    ++rows;
  }
  EXPECT_GT(rows, 0);
}

INSTANTIATE_TEST_SUITE_P(Tables, TableRows, testing::ValuesIn(TableFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(Tables, EveryFunctionHasItsTable) {
  const auto files = TableFiles();
  for (const auto& [name, table] : Tables())
    EXPECT_TRUE(std::count(files.begin(), files.end(), name)) << "no data for " << name;
}
