// A recording Power and a scripted MemoryArena for the unit tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/power.h"

namespace velkaro::fakes {

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
