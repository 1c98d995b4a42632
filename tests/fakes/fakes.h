// The platform services' fakes for the unit tests, and all of them bundled into one Platform.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/devices.h"
#include "platform/machine.h"
#include "platform/management.h"
#include "platform/perf.h"
#include "platform/platform.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "text/text.h"

namespace velkaro::fakes {

// An in-memory registry: keys and value names compare without regard to case, like the real one.
class FakeRegistry : public Registry {
 public:
  struct Write {
    RootKey root;
    std::string key, name;
    RegData data;
  };

  // A key (and the keys above it) without values; keys enumerate in the order they were made.
  void addKey(RootKey root, const std::string& key, RegView view = RegView::Native) {
    for (const auto& k : keys_)
      if (std::get<0>(k) == root && std::get<1>(k) == view &&
          text::EqualsIgnoreCaseAscii(std::get<2>(k), key))
        return;
    keys_.emplace_back(root, view, key);
  }
  void put(RootKey root, const std::string& key, const std::string& name, RegData data,
           RegView view = RegView::Native) {
    addKey(root, key, view);
    values_[{root, view, text::LowerAscii(key)}][text::LowerAscii(name)] = std::move(data);
  }
  void putString(RootKey root, const std::string& key, const std::string& name,
                 const std::string& utf8, RegView view = RegView::Native) {
    std::string bytes = text::Utf8ToUtf16Le(utf8);
    bytes.append(2, '\0');
    put(root, key, name, {regtype::kSz, bytes}, view);
  }

  std::optional<RegData> queryValue(RootKey root, const std::string& subKey,
                                    const std::string& name, RegView view) override {
    queries.push_back({root, subKey, name, view});
    const auto key = values_.find({root, view, text::LowerAscii(subKey)});
    if (key == values_.end()) return std::nullopt;
    const auto value = key->second.find(text::LowerAscii(name));
    if (value == key->second.end()) return std::nullopt;
    return value->second;
  }

  std::optional<std::string> subKeyName(RootKey root, const std::string& subKey, uint32_t index,
                                        RegView view) override {
    const std::string prefix = text::LowerAscii(subKey) + "\\";
    std::vector<std::string> children;
    for (const auto& [r, v, key] : keys_) {
      if (r != root || v != view || text::LowerAscii(key).rfind(prefix, 0) != 0) continue;
      const std::string child =
          key.substr(prefix.size(), key.find('\\', prefix.size()) - prefix.size());
      bool seen = false;
      for (const auto& c : children) seen = seen || text::EqualsIgnoreCaseAscii(c, child);
      if (!seen) children.push_back(child);
    }
    if (index >= children.size()) return std::nullopt;
    return children[index];
  }

  bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                const RegData& data) override {
    writes.push_back({root, subKey, name, data});
    put(root, subKey, name, data);
    return true;
  }

  struct Query {
    RootKey root;
    std::string key, name;
    RegView view;
  };
  std::vector<Query> queries;
  std::vector<Write> writes;

 private:
  std::map<std::tuple<RootKey, RegView, std::string>, std::map<std::string, RegData>> values_;
  std::vector<std::tuple<RootKey, RegView, std::string>> keys_;
};

// Fakes of the smaller platform services.
class FakeClock : public Clock {
 public:
  explicit FakeClock(double start = 1000.0) : now(start) {}
  double monotonicSeconds() override { return now; }
  uint64_t uptimeMilliseconds() override { return uptimeMs; }
  LocalTime localTime() override { return local; }
  double now;
  uint64_t uptimeMs = 0;
  LocalTime local{2026, 12, 5, 6, 48, 42};
};

// Each wait lets `step` seconds pass (or the whole remaining time when step is 0) and then
// runs the events queued for that moment.
class FakePump : public EventPump {
 public:
  explicit FakePump(FakeClock& clock) : clock_(clock) {}

  bool doEvents() override {
    ++pumps;
    RunDue();
    return !ending;
  }
  bool waitEvents(double maxSeconds) override {
    ++waits;
    // Like a real wait, it lasts at least a moment, so a remainder below the clock's resolution
    // cannot keep a caller waiting for ever.
    clock_.now += std::max(step > 0 && step < maxSeconds ? step : maxSeconds, 1e-9);
    RunDue();
    return !ending;
  }
  // Runs `event` at the first pump at or after the given clock time.
  void at(double time, std::function<void()> event) {
    events_.emplace_back(time, std::move(event));
  }

  double step = 0;
  int pumps = 0;
  int waits = 0;
  bool ending = false;

 private:
  void RunDue() {
    for (size_t i = 0; i < events_.size();) {
      if (events_[i].first <= clock_.now) {
        auto event = std::move(events_[i].second);
        events_.erase(events_.begin() + static_cast<long>(i));
        event();
      } else {
        ++i;
      }
    }
  }
  FakeClock& clock_;
  std::vector<std::pair<double, std::function<void()>>> events_;
};

class FakeSystem : public System {
 public:
  std::optional<VersionRecord> versionInfo(uint32_t recordSize) override {
    const auto it = versions.find(recordSize);
    if (it == versions.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> userName(uint32_t) override { return user; }
  std::optional<bool> isNTAdmin() override { return admin; }
  std::string windowsDirectory() override { return windowsDir; }
  std::string systemDirectory() override { return systemDir; }
  std::string programPath() override { return program; }

  std::map<uint32_t, VersionRecord> versions;
  std::optional<std::string> user = std::string("tester");
  std::optional<bool> admin = true;
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\system32";
  std::string program = "C:\\Velkaro\\Velkaro.exe";
};

class FakeShell : public Shell {
 public:
  bool start(const std::string& commandLine, WindowStyle style) override {
    started.emplace_back(commandLine, style);
    return true;
  }
  // Answers with the program associated to the document's extension (case ignored); an
  // `onFind` hook sees each call first.
  std::string findExecutable(const std::string& document) override {
    if (onFind) onFind(document);
    const auto dot = document.rfind('.');
    const auto it = associations.find(
        text::LowerAscii(dot == std::string::npos ? std::string() : document.substr(dot)));
    return it == associations.end() ? std::string() : it->second;
  }
  std::vector<std::pair<std::string, WindowStyle>> started;
  std::map<std::string, std::string> associations;  // ".html" -> program path
  std::function<void(const std::string&)> onFind;
};

class FakeFiles : public TextFiles {
 public:
  // Each read takes the next scripted answer; without one the file is missing.
  std::optional<std::string> read(const std::string&, std::size_t) override {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  // Committed files live in `disk` (path -> text as handed over, before any code page); a new
  // version stays apart until it is committed.
  CreatedFile create(const std::string& path) override {
    ++creates;
    if (createError) return {nullptr, *createError};
    return {std::make_unique<File>(*this, path), {}};
  }

  std::vector<std::optional<std::string>> answers;
  std::map<std::string, std::string> disk;
  std::optional<FileError> createError;
  int failWriteAt = -1;  // the write (counted from 0 over all files) that fails with writeError
  FileError writeError{112, "disk full"};
  std::optional<FileError> commitError;
  int creates = 0;
  int writes = 0;
  int unfinished = 0;  // versions created and neither committed nor dropped yet

 private:
  class File : public OutputFile {
   public:
    File(FakeFiles& files, std::string path) : files_(files), path_(std::move(path)) {
      ++files_.unfinished;
    }
    ~File() override {
      if (!committed_) --files_.unfinished;
    }
    std::optional<FileError> write(const std::string& text) override {
      if (committed_) return FileError{6, "committed"};
      if (files_.writes++ == files_.failWriteAt) return files_.writeError;
      text_ += text;
      return std::nullopt;
    }
    std::optional<FileError> commit() override {
      if (committed_) return std::nullopt;
      if (files_.commitError) return files_.commitError;
      committed_ = true;
      --files_.unfinished;
      files_.disk[path_] = text_;
      return std::nullopt;
    }

   private:
    FakeFiles& files_;
    std::string path_;
    std::string text_;
    bool committed_ = false;
  };
};

// A scripted Machine for the unit tests.
class FakeMachine : public Machine {
 public:
  MemoryStatus memoryStatus() override { return memory; }
  numfmt::NumberSettings numberSettings() override { return settings; }
  PowerStatus powerStatus() override { return power; }
  // The scripted facts in turn, then `processor` for good.
  ProcessorFacts processorFacts() override {
    if (processorSequence.empty()) return processor;
    const ProcessorFacts next = processorSequence.front();
    processorSequence.pop_front();
    return next;
  }

  MemoryStatus memory;
  numfmt::NumberSettings settings = numfmt::NumberSettings::German();
  PowerStatus power;
  ProcessorFacts processor;
  std::deque<ProcessorFacts> processorSequence;
};

// A scripted Devices for the unit tests: a screen, ports that exist or not, and a folder of files
// in memory.
class FakeDevices : public Devices {
 public:
  ScreenMetrics screen() override { return metrics; }

  bool openPort(const std::string& device, PortAccess access) override {
    opened.push_back(device + (access == PortAccess::Read ? " read" : " write"));
    return readyPorts.count(device) > 0;
  }

  bool createEmptyFile(const std::string& path) override {
    const std::string key = text::LowerAscii(path);
    if (folders.count(key)) {
      events.push_back("cannot create " + path);
      return false;
    }
    files[key] = "";
    events.push_back("created " + path);
    return true;
  }
  bool deleteFile(const std::string& path) override {
    const bool deleted = files.erase(text::LowerAscii(path)) > 0;
    events.push_back((deleted ? "deleted " : "nothing to delete at ") + path);
    return deleted;
  }
  bool exists(const std::string& path) const { return files.count(text::LowerAscii(path)) > 0; }

  ScreenMetrics metrics{15.0 * 1024, 15.0 * 768, 15, 15};
  std::set<std::string> readyPorts{"COM1", "COM2", "COM3", "LPT1"};
  std::vector<std::string> opened;
  std::vector<std::string> events;           // files created and deleted, as they happened
  std::map<std::string, std::string> files;  // lower-cased path -> contents
  std::set<std::string> folders;             // lower-cased paths that are folders
};

// A scripted PerfCounters for the unit tests: set-up results, counter readings and processor
// times are played back in order; every call is logged.
class FakePerf : public PerfCounters {
 public:
  uint32_t openQuery(PdhHandle& query) override {
    log.push_back("open");
    if (openResult == 0) query = kQuery;
    return openResult;
  }
  uint32_t addCounter(PdhHandle query, const std::string& path, PdhHandle& counter) override {
    return Add("add " + path, query, addResult, counter);
  }
  uint32_t addEnglishCounter(PdhHandle query, const std::string& path,
                             PdhHandle& counter) override {
    return Add("add english " + path, query, addEnglishResult, counter);
  }
  uint32_t collect(PdhHandle query) override {
    log.push_back("collect " + std::to_string(query));
    return 0;
  }
  CounterValue doubleValue(PdhHandle counter) override {
    log.push_back("value " + std::to_string(counter));
    return Next(values, CounterValue{});
  }
  void closeQuery(PdhHandle query) override { log.push_back("close " + std::to_string(query)); }

  std::optional<ProcessorTimes> firstProcessorTimes() override {
    log.push_back("processor times");
    return Next(processor, std::optional<ProcessorTimes>());
  }
  std::optional<ProcessorTimes> systemTimes() override {
    log.push_back("system times");
    return Next(system, std::optional<ProcessorTimes>());
  }

  std::optional<uint32_t> readDynData(const std::string& keyPath,
                                      const std::string& valueName) override {
    log.push_back("dyn " + keyPath + " " + valueName);
    return Next(dynData, std::optional<uint32_t>());
  }

  static constexpr PdhHandle kQuery = 11;
  static constexpr PdhHandle kCounter = 22;

  uint32_t openResult = 0;
  uint32_t addResult = 0;
  uint32_t addEnglishResult = 0;
  std::deque<CounterValue> values;  // an empty queue reads as invalid data
  std::deque<std::optional<ProcessorTimes>> processor;
  std::deque<std::optional<ProcessorTimes>> system;
  std::deque<std::optional<uint32_t>> dynData;
  std::vector<std::string> log;

 private:
  uint32_t Add(const std::string& entry, PdhHandle query, uint32_t result, PdhHandle& counter) {
    log.push_back(entry + " to " + std::to_string(query));
    if (result == 0) counter = kCounter;
    return result;
  }
  template <typename T>
  static T Next(std::deque<T>& queue, T otherwise) {
    if (queue.empty()) return otherwise;
    T next = queue.front();
    queue.pop_front();
    return next;
  }
};

// A recording Power and a scripted MemoryArena for the unit tests.
// Records every call as text, e.g. "privilege", "ExitWindowsEx 8 4294967295",
// "SetSuspendState 1 0 0", "LockWorkStation".
class FakePower : public Power {
 public:
  bool enableShutdownPrivilege() override { return record("privilege"); }
  bool exitWindows(uint32_t flags, uint32_t reason) override {
    return record("ExitWindowsEx " + std::to_string(flags) + " " + std::to_string(reason));
  }
  bool setSuspendState(bool hibernate, bool force, bool disableWakeEvents) override {
    return record("SetSuspendState " + std::to_string(hibernate) + " " + std::to_string(force) +
                  " " + std::to_string(disableWakeEvents));
  }
  bool lockWorkStation() override { return record("LockWorkStation"); }

  std::vector<std::string> calls;
  bool succeeds = true;

 private:
  bool record(std::string call) {
    calls.push_back(std::move(call));
    return succeeds;
  }
};

// Hands out real heap chunks (so the caller's writes can be checked) and records their sizes;
// allocation number `failAt` (0-based) and every later one fail.
class FakeArena : public MemoryArena {
 public:
  struct Chunk {
    std::unique_ptr<char16_t[]> data;
    std::size_t chars = 0;
    bool released = false;
    bool allBlanks = false;  // every character was a blank when it was released
  };

  char16_t* allocate(std::size_t chars) override {
    requested.push_back(chars);
    if (failAt >= 0 && static_cast<int>(requested.size()) > failAt) return nullptr;
    chunks.push_back(Chunk{std::make_unique<char16_t[]>(chars), chars});
    return chunks.back().data.get();
  }
  void release(char16_t* chunk) override {
    for (auto& c : chunks) {
      if (c.data.get() != chunk || c.released) continue;
      c.released = true;
      c.allBlanks = true;
      for (std::size_t i = 0; i < c.chars; ++i) c.allBlanks = c.allBlanks && c.data[i] == u' ';
      return;
    }
    ++strayReleases;
  }
  int held() const {
    int n = 0;
    for (const auto& c : chunks) n += c.released ? 0 : 1;
    return n;
  }

  std::vector<std::size_t> requested;
  std::vector<Chunk> chunks;
  int failAt = -1;
  int strayReleases = 0;
};

// A scripted management service: namespaces by moniker, results by query text, objects as
// property maps. Anything not scripted fails like an unavailable service.
using Properties = std::map<std::string, WmiValue>;

struct ScriptedResult {
  std::vector<Properties> objects;
  // The walk fails after this many objects (a timeout or a broken service); -1: never.
  int failAfter = -1;
};

class FakeManagement : public Management {
 public:
  // Makes a moniker bindable; its queries answer from `results` (missing text: query fails).
  void addNamespace(const std::string& moniker) { namespaces_[moniker]; }
  void addResult(const std::string& moniker, const std::string& query, ScriptedResult result) {
    namespaces_[moniker][query] = std::move(result);
  }
  void addObject(const std::string& moniker, Properties properties) {
    objects_[moniker] = std::move(properties);
  }

  std::unique_ptr<WmiService> connect(const std::string& moniker) override {
    Wait();
    if (offline) return nullptr;
    const auto it = namespaces_.find(moniker);
    if (it == namespaces_.end()) return nullptr;
    return std::make_unique<Service>(*this, it->second);
  }
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override {
    if (offline) return nullptr;
    const auto it = objects_.find(moniker);
    if (it == objects_.end()) return nullptr;
    return std::make_unique<Object>(it->second);
  }

  void beginWork(double seconds) override { work.push_back(seconds); }
  void endWork() override { work.pop_back(); }

  // Runs while a query waits for the service, as the window's events do then; each call once.
  std::vector<std::function<void()>> duringWait;
  std::vector<double> work;  // the deadlines of the work under way, innermost last
  bool offline = false;      // the service has gone: nothing can be bound
  struct QueryCall {
    std::string text;
    std::optional<int32_t> flags;
    std::vector<double> work;  // the work it belonged to
  };
  std::vector<QueryCall> queries;

 private:
  void Wait() {
    if (duringWait.empty()) return;
    auto events = std::move(duringWait.front());
    duringWait.erase(duringWait.begin());
    if (events) events();
  }

  class Object : public WmiObject {
   public:
    explicit Object(Properties properties) : properties_(std::move(properties)) {}
    std::optional<WmiValue> get(const std::string& name) override {
      const auto it = properties_.find(name);
      if (it == properties_.end()) return std::nullopt;
      return it->second;
    }

   private:
    Properties properties_;
  };

  class Set : public WmiObjectSet {
   public:
    explicit Set(ScriptedResult result) : result_(std::move(result)) {}
    std::unique_ptr<WmiObject> next() override {
      if (failed_) return nullptr;
      if (result_.failAfter >= 0 && position_ >= static_cast<size_t>(result_.failAfter)) {
        failed_ = true;
        return nullptr;
      }
      if (position_ >= result_.objects.size()) return nullptr;
      return std::make_unique<Object>(result_.objects[position_++]);
    }
    bool failed() const override { return failed_; }

   private:
    ScriptedResult result_;
    size_t position_ = 0;
    bool failed_ = false;
  };

  class Service : public WmiService {
   public:
    Service(FakeManagement& owner, const std::map<std::string, ScriptedResult>& results)
        : owner_(owner), results_(results) {}
    std::unique_ptr<WmiObjectSet> execQuery(const std::string& query,
                                            std::optional<int32_t> flags) override {
      owner_.queries.push_back({query, flags, owner_.work});
      owner_.Wait();
      const auto it = results_.find(query);
      if (it == results_.end()) return nullptr;
      return std::make_unique<Set>(it->second);
    }

   private:
    FakeManagement& owner_;
    const std::map<std::string, ScriptedResult>& results_;
  };

  std::map<std::string, std::map<std::string, ScriptedResult>> namespaces_;
  std::map<std::string, Properties> objects_;
};

// Every platform fake, bundled into one Platform for a test.

struct FakePlatform {
  FakeRegistry registry;
  FakeSystem system;
  FakeShell shell;
  FakeClock clock;
  FakePump pump{clock};
  FakeFiles files;
  FakeManagement management;
  FakeMachine machine;
  FakeDevices devices;
  FakePerf perf;
  FakePower power;
  FakeArena arena;
  Platform platform{registry,   system,  shell,   clock, pump,  files,
                    management, machine, devices, perf,  power, arena};
};

}  // namespace velkaro::fakes
