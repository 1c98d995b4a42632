// Decision tables, formats and conversions row by row from data (tests/data/tables/NAME.tsv):
// each row is the inputs of the function NAME, then what it must give, TAB-separated. In a
// cell, \t \r \n \0 \\ and \xHH stand for their characters; "-" is "none" (no value, a failure);
// a locale is "de" or "en", optionally with "grouping=3;2;0" or "negative=0" after it.
#include <filesystem>
#include <fstream>
#include <functional>
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

uint64_t U(const std::string& cell) {
  return std::stoull(cell, nullptr, 0);
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

std::string Bytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string out;
  for (unsigned b; in >> std::hex >> b;) out += static_cast<char>(b);
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

// The sampler on a machine (JSON as in a scenario), made, read once and dropped: the load
// sources it asks (not the readings themselves), and the source it settles on for NT readings.
std::string CpuSource(const Cells& c) {
  FakePlatform f;
  Describe(f, Json::parse(c[0]));
  std::string source;
  {
    clsCPULoad sampler(f.perf, f.system);
    sampler.Val();
    source = std::to_string(int(sampler.source()));
  }
  std::string calls;
  for (const auto& call : f.perf.log)
    if (call.rfind("collect", 0) != 0 && call.rfind("value", 0) != 0) calls += call + " | ";
  return calls + "source " + source;
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

const std::map<std::string, Table>& Tables() {
  using namespace velkaro::text;
  static const std::map<std::string, Table> tables = {
      {"os_name", {6, [](const Cells& c) { return Windows::OSNameFor(Version(c)); }}},
      {"browser_kind", {1, [](const Cells& c) { return Netzwerk::BrowserKind(c[0]); }}},
      {"probe_path", {1, [](const Cells& c) { return Netzwerk::ProbePath(c[0]); }}},
      {"find_executable",
       {1,
        [](const Cells& c) {
          FakeShell shell;
          if (c[0] != "-") shell.associations[".html"] = c[0];
          return Netzwerk::FindExecutableOf(shell, "C:\\Velkaro\\test~12345.html");
        }}},
      {"percent_text",
       {2, [](const Cells& c) { return Computer::PercentText(U(c[0]), Settings(c[1])); }}},
      {"hours_text",
       {2,
        [](const Cells& c) {
          return Computer::HoursText(static_cast<uint32_t>(std::stoll(c[0])), Settings(c[1]));
        }}},
      {"processor_type", {1, [](const Cells& c) { return Or(CPU::ProcessorTypeText(U(c[0]))); }}},
      {"processor_count",
       {3,
        [](const Cells& c) {
          ProcessorFacts f{static_cast<uint32_t>(U(c[0])), static_cast<uint32_t>(U(c[1])),
                           std::nullopt};
          if (c[2] != "-") f.activeProcessors = U(c[2]);
          return std::to_string(CPU::ProcessorCount(f));
        }}},
      {"drive_kb",
       {2,
        [](const Cells& c) {
          return Or(Laufwerke::KilobyteFigure(Property(c[0]), Settings(c[1])));
        }}},
      {"resolution",
       {4,
        [](const Cells& c) {
          return Grafik::ResolutionText(
              {std::stod(c[0]), std::stod(c[1]), std::stod(c[2]), std::stod(c[3])});
        }}},
      {"kilobyte_text",
       {2, [](const Cells& c) { return ram::KilobyteText(U(c[0]), Settings(c[1])); }}},
      {"general",
       {2, [](const Cells& c) { return numfmt::General(std::stod(c[0]), Settings(c[1])); }}},
      {"pattern",
       {3, [](const Cells& c) { return numfmt::Pattern(std::stod(c[0]), c[1], Settings(c[2])); }}},
      {"grouped",
       {2, [](const Cells& c) { return numfmt::Grouped(std::stod(c[0]), Settings(c[1])); }}},
      {"parse_grouping",
       {1,
        [](const Cells& c) {
          std::string out;
          for (int g : numfmt::ParseGrouping(c[0]))
            out += (out.empty() ? "" : ";") + std::to_string(g);
          return out;
        }}},
      {"cut_at_nul", {1, [](const Cells& c) { return CutAtNul(c[0]); }}},
      {"trim_blanks", {1, [](const Cells& c) { return TrimBlanks(c[0]); }}},
      {"join_path", {2, [](const Cells& c) { return JoinPath(c[0], c[1]); }}},
      {"folder_of", {1, [](const Cells& c) { return FolderOf(c[0]); }}},
      {"stem_of", {1, [](const Cells& c) { return StemOf(c[0]); }}},
      {"utf8_to_utf16", {1, [](const Cells& c) { return Hex(Utf8ToUtf16Le(c[0])); }}},
      {"utf16_to_utf8", {1, [](const Cells& c) { return Utf16LeToUtf8(Bytes(c[0])); }}},
      {"reg_path",
       {1,
        [](const Cells& c) {
          const auto p = Regestry::ParseRegPath(c[0]);
          return p ? std::to_string(int(p->root)) + " " + p->key + " " + p->value : "-";
        }}},
      {"reg_decode",
       {2,
        [](const Cells& c) {
          if (c[0] == "-") return Regestry::DecodeRegValue(std::nullopt);
          return Regestry::DecodeRegValue(RegData{static_cast<uint32_t>(U(c[0])), Bytes(c[1])});
        }}},
      {"read_reg_path",
       {2,
        [](const Cells& c) {
          FakeRegistry registry;
          for (const auto& row : Json::parse(c[0])) PutRegistry(registry, row);
          const std::string value = Regestry::ReadRegPath(registry, c[1]);
          return value + (registry.queries.empty() ? " (not asked)" : "");
        }}},
      {"read_reg_value",
       {2,
        [](const Cells& c) {
          FakeRegistry registry;
          for (const auto& row : Json::parse(c[0])) PutRegistry(registry, row);
          const auto path = Regestry::ParseRegPath(c[1]);
          return Regestry::ReadRegValue(registry, path->root, path->key, path->value);
        }}},
      {"registry_record",
       {1,
        [](const Cells& c) {
          FakeRegistry registry;
          if (c[0] != "-")
            registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", c[0]);
          registry.putString(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Velkaro", "Path",
                             "D:\\old.exe");
          const bool wrote =
              Splash::UpdateRegistryRecord(registry, "C:\\Tools\\Velkaro\\velkaro.EXE");
          return std::string(wrote ? "written " : "kept ") +
                 Regestry::ReadRegPath(registry, Splash::kRecordPath) + " " +
                 Regestry::ReadRegPath(registry, Splash::kVersionPath) + " " +
                 Regestry::ReadRegPath(registry, Splash::kPathPath);
        }}},
      {"reg_write",
       {3,
        [](const Cells& c) {
          FakeRegistry registry;
          if (!Regestry::WriteRegPath(registry, c[0], c[1], c[2])) return std::string("refused");
          const auto& w = registry.writes.at(0);
          return std::to_string(int(w.root)) + " " + w.key + " " + w.name + " " +
                 std::to_string(w.data.type) + " " + Hex(w.data.bytes);
        }}},
      {"dx_version", {1, [](const Cells& c) { return Splash::ExtractDirectXVersion(c[0]); }}},
      {"dump_path", {1, [](const Cells& c) { return Splash::DumpPath(c[0]); }}},
      {"dxdiag_command", {1, [](const Cells& c) { return Splash::DxDiagCommand(c[0]); }}},
      {"recorded_path", {1, [](const Cells& c) { return Splash::RecordedProgramPath(c[0]); }}},
      {"wmi_moniker",
       {1,
        [](const Cells& c) {
          const auto m = ParseWmiMoniker(c[0]);
          return m ? m->server + " " + m->nameSpace + " " + m->objectPath : "-";
        }}},
      {"field_text", {1, [](const Cells& c) { return Or(FieldText(*Property(c[0]))); }}},
      {"with_suffix", {2, [](const Cells& c) { return Or(WithSuffix(*Property(c[0]), c[1])); }}},
      {"join_array", {2, [](const Cells& c) { return Or(JoinArray(*Property(c[0]), c[1])); }}},
      {"uptime",
       {1,
        [](const Cells& c) {
          FakeClock clock;
          clock.uptimeMs = U(c[0]);
          return PrgKern::UptimeText(clock);
        }}},
      {"date_time",
       {6,
        [](const Cells& c) {
          return DateTimeText(
              {int(U(c[0])), int(U(c[1])), int(U(c[2])), int(U(c[3])), int(U(c[4])), int(U(c[5]))});
        }}},
      {"chunk_chars",
       {2, [](const Cells& c) { return std::to_string(ram::ChunkChars(U(c[0]), U(c[1]))); }}},
      {"release_start",
       {2, [](const Cells& c) { return ram::ReleaseStartText(U(c[0]), Settings(c[1])); }}},
      {"release_step",
       {2, [](const Cells& c) { return ram::ReleaseStepText(std::stod(c[0]), Settings(c[1])); }}},
      {"launcher_command",
       {4,
        [](const Cells& c) {
          const launchers::Launcher l{0, c[0].c_str(), c[1].c_str(), c[2] == "1"};
          return launchers::CommandLine(l, c[3]);
        }}},
      {"power_action",
       {1,
        [](const Cells& c) {
          FakePower power;
          power.succeeds = false;  // a refused call changes nothing
          Reboot::PowerAction(power, c[0]);
          std::string out;
          for (const auto& call : power.calls) out += (out.empty() ? "" : " | ") + call;
          return out;
        }}},
      {"failure_message",
       {3,
        [](const Cells& c) {
          return Report::FailureMessage(c[0] == "1", {static_cast<uint32_t>(U(c[1])), c[2]});
        }}},
      {"cpu_average", {2, CpuAverages}},
      {"fill", {3, FillShows}},
      {"cpu_source", {1, CpuSource}},
      {"busy_percent",
       {6,
        [](const Cells& c) {
          const auto p = BusyPercent({U(c[0]), U(c[1]), U(c[2])}, {U(c[3]), U(c[4]), U(c[5])});
          return p ? numfmt::General(*p, numfmt::NumberSettings::English()) : "-";
        }}},
      {"twips_to_pixels",
       {2,
        [](const Cells& c) {
          return std::to_string(TwipsToPixels(std::stoi(c[0]), std::stoi(c[1])));
        }}},
  };
  return tables;
}

}  // namespace

TEST(Tables, EveryRowOfEveryTable) {
  const auto folder = std::filesystem::path(VELKARO_TEST_DATA) / "tables";
  std::set<std::string> seen;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().stem().string();
    const auto table = Tables().find(name);
    ASSERT_NE(table, Tables().end()) << "no function for " << entry.path();
    seen.insert(name);
    std::ifstream in(entry.path());
    int rows = 0, number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      if (line.empty() || line[0] == '#') continue;
      Cells cells;
      std::istringstream split(line);
      for (std::string cell; std::getline(split, cell, '\t');) cells.push_back(Unescape(cell));
      if (line.back() == '\t') cells.emplace_back();
      ASSERT_GT(cells.size(), table->second.inputs) << name << ":" << number;
      std::string expected;
      for (size_t i = table->second.inputs; i < cells.size(); ++i)
        expected += (i > table->second.inputs ? "\t" : "") + cells[i];
      EXPECT_EQ(table->second.run(cells), expected) << name << ".tsv:" << number;
      ++rows;
    }
    EXPECT_GT(rows, 0) << name;
  }
  for (const auto& [name, table] : Tables())
    EXPECT_TRUE(seen.count(name)) << "no data for " << name;
}
