// Fakes of the machine for the unit tests: memory and power, devices, performance counters,
// power actions and the memory arena.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/devices.h"
#include "platform/machine.h"
#include "platform/perf.h"
#include "platform/power.h"
#include "text/text.h"

namespace velkaro::fakes {

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

}  // namespace velkaro::fakes
