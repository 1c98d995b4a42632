// The memory release of the "Arbeitsspeicher" panel (module ram): the program claims about three
// quarters of the physical memory in 21 steps, writing every byte so that it is really committed
// and other programs' pages move out, then gives all of it back at once.
#pragma once

#include <cstdint>
#include <string>

#include "app/view.h"
#include "platform/platform.h"
#include "text/numfmt.h"

namespace velkaro::ram {

inline constexpr int kReleaseSteps = 21;
inline constexpr const char* kReleaseEndText = "Speicher freigeräumt !";

// Characters (16-bit) per chunk: the total physical memory / 55, rounded half to even, but no
// more than lets the 21 chunks fit into seven eighths of the process's free address space (the
// rest stays for the program itself).
uint64_t ChunkChars(uint64_t totalPhys, uint64_t freeAddressSpace);

// "Freier Speicher voher: <KB> KB" and "Räume Speicher frei.... [<p>%] Optimiert...".
std::string ReleaseStartText(uint64_t availPhys, const numfmt::NumberSettings& settings);
std::string ReleaseStepText(double percent, const numfmt::NumberSettings& settings);

// The release behind the button Image18, one per window; it knows whether a release runs.
class MemoryRelease {
 public:
  MemoryRelease(Platform& platform, View& view) : platform_(platform), view_(view) {}

  // Runs the whole release inside the click: hourglass, progress 0, 5, .., 100 in ProgressBar1,
  // the texts in Label13, window events processed after every step. A chunk that cannot be had
  // ends the loop early. A call while a release is running (a click taken during its events) is
  // refused.
  void ReleaseMemory();

 private:
  Platform& platform_;
  View& view_;
  bool running_ = false;
};

}  // namespace velkaro::ram
