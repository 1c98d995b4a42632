// Fake machines described in JSON (the scenarios and tables of tests/data): property values,
// registry values and the parts of a machine, applied to the fakes.
#pragma once

#include <map>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "fakes/fakes.h"

namespace velkaro::fakes {

using Json = nlohmann::json;

inline WmiValue Value(const Json& j) {
  if (j.is_string()) return WmiValue::Text(j.get<std::string>());
  if (j.is_boolean()) return WmiValue::Boolean(j.get<bool>());
  if (j.is_number_integer()) return WmiValue::Integer(j.get<int64_t>());
  if (j.is_number()) return WmiValue::Real(j.get<double>());
  if (j.is_array()) {
    std::vector<WmiValue> items;
    for (const auto& item : j) items.push_back(Value(item));
    return WmiValue::Array(std::move(items));
  }
  return WmiValue::Null();
}

inline Properties Object(const Json& j) {
  Properties p;
  for (const auto& [name, value] : j.items()) p[name] = Value(value);
  return p;
}

// Bytes written as hex numbers, "01 0a ff".
inline std::string HexBytes(const std::string& hex) {
  std::istringstream in(hex);
  std::string bytes;
  for (unsigned b; in >> std::hex >> b;) bytes += static_cast<char>(b);
  return bytes;
}

inline RootKey Root(const std::string& name) {
  static const std::map<std::string, RootKey> roots = {{"HKCR", RootKey::ClassesRoot},
                                                       {"HKCU", RootKey::CurrentUser},
                                                       {"HKLM", RootKey::LocalMachine},
                                                       {"HKU", RootKey::Users},
                                                       {"HKCC", RootKey::CurrentConfig}};
  return roots.at(name.substr(0, name.find(' ')));
}

// ["HKLM", key, name, type, data] with the type "sz", "expand", "multi" (data: a list of
// strings), "dword", "binary" (data: hex bytes "01 02"); ["HKLM", key] for a key alone. A root
// written "HKLM 32" stands in the 32-bit view.
inline void PutRegistry(FakeRegistry& registry, const Json& row) {
  const std::string root = row[0];
  const RegView view = root.find(" 32") != std::string::npos ? RegView::Wow32 : RegView::Native;
  if (row.size() == 2) return registry.addKey(Root(root), row[1], view);
  const std::string type = row[3];
  RegData data;
  if (type == "sz" || type == "expand" || type == "multi") {
    std::string text;
    if (type == "multi")
      for (const auto& s : row[4]) text += s.get<std::string>() + '\0';
    else
      text = row[4].get<std::string>();
    data = {type == "sz"       ? regtype::kSz
            : type == "expand" ? regtype::kExpandSz
                               : regtype::kMultiSz,
            text::Utf8ToUtf16Le(text) + std::string(2, '\0')};
  } else if (type == "dword") {
    const uint32_t v = row[4].get<uint32_t>();
    data = {regtype::kDword, std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}};
  } else {
    data = {type == "binary" ? regtype::kBinary : static_cast<uint32_t>(std::stoul(type)),
            HexBytes(row[4].get<std::string>())};
  }
  registry.put(Root(root), row[1], row[2], data, view);
}

inline numfmt::NumberSettings Locale(const std::string& name) {
  return name == "en" ? numfmt::NumberSettings::English() : numfmt::NumberSettings::German();
}

// The part of a description of that name, or an empty object.
inline const Json& Part(const Json& m, const char* name) {
  static const Json kNone = Json::object();
  return m.contains(name) ? m[name] : kNone;
}

// Applies the parts of a machine description that are present.
inline void Describe(FakePlatform& f, const Json& m) {
  for (const auto& [size, v] : Part(m, "versions").items()) {
    VersionRecord r;
    r.platformId = v[0], r.major = v[1], r.minor = v[2], r.build = v[3];
    r.servicePack = v[4].get<std::string>();
    r.servicePack.resize(128, '\0');
    r.suiteMask = v[5], r.productType = v[6];
    f.system.versions[std::stoul(size)] = r;
  }
  if (m.contains("user"))
    f.system.user =
        m["user"].is_null() ? std::nullopt : std::optional(m["user"].get<std::string>());
  if (m.contains("admin"))
    f.system.admin = m["admin"].is_null() ? std::nullopt : std::optional(m["admin"].get<bool>());
  f.system.windowsDir = m.value("windows", f.system.windowsDir);
  f.system.systemDir = m.value("system", f.system.systemDir);
  f.system.program = m.value("program", f.system.program);
  f.clock.uptimeMs = m.value("uptime_ms", f.clock.uptimeMs);
  f.clock.now = m.value("clock", f.clock.now);  // seconds of the monotonic clock
  f.pump.step = m.value("pump_step", f.pump.step);
  f.clock.calendarFails = m.value("calendar_fails", f.clock.calendarFails);
  if (m.contains("memory")) {
    const auto& v = m["memory"];
    f.machine.memory = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
  }
  if (m.contains("locale")) f.machine.settings = Locale(m["locale"]);
  if (m.contains("power")) {
    const auto& v = m["power"];
    f.machine.power = {v[0], v[1], v[2], v[3], v[4]};
  }
  // [count of the group, type, active processors of all groups or null]; "processors": the
  // facts of successive calls.
  const auto facts = [](const Json& v) {
    ProcessorFacts p{v[0], v[1], std::nullopt};
    if (!v[2].is_null()) p.activeProcessors = v[2].get<uint32_t>();
    return p;
  };
  if (m.contains("processor")) f.machine.processor = facts(m["processor"]);
  for (const auto& v : m.value("processors", Json::array()))
    f.machine.processorSequence.push_back(facts(v));
  if (m.contains("screen")) {
    const auto& v = m["screen"];
    f.devices.metrics = {v[0], v[1], v[2], v[3]};
  }
  if (m.contains("ready_ports")) f.devices.readyPorts = m["ready_ports"];
  for (const auto& folder : m.value("folders", Json::array()))
    f.devices.folders.insert(text::LowerAscii(folder.get<std::string>()));
  for (const auto& row : m.value("registry", Json::array())) PutRegistry(f.registry, row);
  for (const auto& [ext, program] : Part(m, "associations").items())
    f.shell.associations[ext] = program;
  for (const auto& [moniker, queries] : Part(m, "wmi").items()) {
    f.management.addNamespace(moniker);
    for (const auto& [query, result] : queries.items()) {
      ScriptedResult scripted;
      for (const auto& object : result.is_array() ? result : result["objects"])
        scripted.objects.push_back(Object(object));
      if (result.is_object()) scripted.failAfter = result.value("fail_after", -1);
      f.management.addResult(moniker, query, scripted);
    }
  }
  for (const auto& [moniker, object] : Part(m, "wmi_objects").items())
    f.management.addObject(moniker, Object(object));
  for (const auto& answer : m.value("file_reads", Json::array()))
    f.files.answers.push_back(answer.is_null() ? std::nullopt
                                               : std::optional(answer.get<std::string>()));
  for (const auto& v : m.value("pdh_values", Json::array()))
    f.perf.values.push_back({v[0].get<double>(), v[1].get<uint32_t>()});
  for (const auto& v : m.value("dyn_data", Json::array()))
    f.perf.dynData.push_back(v.is_null() ? std::optional<uint32_t>()
                                         : std::optional<uint32_t>(v.get<uint32_t>()));
  // Processor times of successive readings: [idle, kernel, user] or null.
  const auto times = [](const Json& v) {
    return v.is_null() ? std::optional<ProcessorTimes>()
                       : std::optional<ProcessorTimes>(ProcessorTimes{v[0], v[1], v[2]});
  };
  for (const auto& v : m.value("processor_times", Json::array()))
    f.perf.processor.push_back(times(v));
  for (const auto& v : m.value("system_times", Json::array())) f.perf.system.push_back(times(v));
  for (const auto& [path, text] : Part(m, "device_files").items())
    f.devices.files[text::LowerAscii(path)] = text;
  if (m.contains("wmi_offline")) f.management.offline = m["wmi_offline"];
  // How long the service takes for each step: seconds, or "hung" for a call that never returns.
  for (const auto& [step, time] : Part(m, "wmi_seconds").items()) {
    static const std::map<std::string, FakeManagement::Step> kSteps = {
        {"connect", FakeManagement::kConnect},
        {"query", FakeManagement::kQuery},
        {"next", FakeManagement::kNext},
        {"get", FakeManagement::kGet}};
    f.management.seconds[kSteps.at(step)] =
        time.is_string() ? FakeManagement::kHung : time.get<double>();
  }
  // The report's file: files on disk, and how creating, the n-th write from now or the commit
  // fails ([code, reason] or [code, reason, worth retrying]; null: it works); "commit_fails":
  // how many commits from now fail (-1: all).
  for (const auto& [path, text] : Part(m, "disk").items()) f.files.disk[path] = text;
  const auto error = [](const Json& e) {
    return e.is_null() ? std::nullopt
                       : std::optional(FileError{e[0], e[1], e.size() > 2 && e[2].get<bool>()});
  };
  if (m.contains("create_error")) f.files.createError = error(m["create_error"]);
  if (m.contains("commit_error")) f.files.commitError = error(m["commit_error"]);
  f.files.commitFails = m.value("commit_fails", f.files.commitFails);
  if (m.contains("fail_write")) f.files.failWriteAt = f.files.writes + int(m["fail_write"]);
  if (m.contains("arena_fail_at")) {  // the n-th chunk from now on and every later one; -1: none
    const int n = m["arena_fail_at"];
    f.arena.failAt = n < 0 ? -1 : int(f.arena.requested.size()) + n;
  }
  f.pump.quitting = m.value("ending", f.pump.quitting);
  if (m.contains("pdh")) {
    const auto& v = m["pdh"];  // open, add, add English
    f.perf.openResult = v[0], f.perf.addResult = v[1], f.perf.addEnglishResult = v[2];
  }
}

}  // namespace velkaro::fakes
