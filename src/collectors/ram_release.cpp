#include "collectors/ram_release.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "app/controls.h"
#include "app/scope.h"

namespace velkaro::ram {

namespace {

// Holds the chunks and the busy state; gives everything back however the routine is left.
class ReleaseRun {
 public:
  ReleaseRun(MemoryArena& arena, View& view, bool& running)
      : running_(running), arena_(arena), view_(view) {
    view_.setBusyPointer(true);
    busy_ = true;
  }
  ~ReleaseRun() {
    if (busy_) view_.setBusyPointer(false);
    for (char16_t* chunk : chunks_)
      if (chunk) arena_.release(chunk);
  }
  ReleaseRun(const ReleaseRun&) = delete;
  ReleaseRun& operator=(const ReleaseRun&) = delete;

  void normalPointer() {
    view_.setBusyPointer(false);
    busy_ = false;
  }
  // Claims chunk i and writes every character of it; false when it cannot be had.
  bool claim(int i, std::size_t chars) {
    char16_t* chunk = chars ? arena_.allocate(chars) : nullptr;
    if (!chunk) return false;
    chunks_[i] = chunk;
    std::fill_n(chunk, chars, u' ');
    return true;
  }

 private:
  ScopedFlag running_;  // made first, so that it ends last
  MemoryArena& arena_;
  View& view_;
  std::array<char16_t*, kReleaseSteps> chunks_{};
  bool busy_ = false;
};

}  // namespace

uint64_t ChunkChars(uint64_t totalPhys, uint64_t freeAddressSpace) {
  const double wanted = std::nearbyint(static_cast<double>(totalPhys) / 55.0);
  const uint64_t budget = freeAddressSpace - freeAddressSpace / 8;
  const uint64_t fitting = budget / (2 * kReleaseSteps);
  return std::min(static_cast<uint64_t>(wanted), fitting);
}

std::string ReleaseStartText(uint64_t availPhys, const numfmt::NumberSettings& settings) {
  return "Freier Speicher voher: " +
         numfmt::General(static_cast<double>(availPhys) / 1024.0, settings) + " KB";
}

std::string ReleaseStepText(double percent, const numfmt::NumberSettings& settings) {
  return "Räume Speicher frei.... [" + numfmt::General(percent, settings) + "%] Optimiert...";
}

void MemoryRelease::ReleaseMemory() {
  if (running_) return;
  const MemoryStatus status = platform_.machine.memoryStatus();
  const numfmt::NumberSettings settings = platform_.machine.numberSettings();
  const auto chars = static_cast<std::size_t>(ChunkChars(status.totalPhys, status.availVirtual));

  ReleaseRun run(platform_.arena, view_, running_);
  view_.setText(ids::kLabel13, ReleaseStartText(status.availPhys, settings));
  for (int i = 0; i < kReleaseSteps; ++i) {
    const double p = i / 20.0 * 100.0;
    view_.setValue(ids::kProgressBar1, static_cast<int>(p));
    if (!run.claim(i, chars)) break;
    const bool going = platform_.pump.doEvents();
    view_.setText(ids::kLabel13, ReleaseStepText(p, settings));
    if (!going) break;
  }
  view_.setValue(ids::kProgressBar1, 0);
  view_.setText(ids::kLabel13, kReleaseEndText);
  run.normalPointer();
}

}  // namespace velkaro::ram
