// Times one tick of the status line against the real platform (sampler, clock, memory status,
// event processing) writing into fields in memory. Prints one JSON line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "collectors/ram.h"
#include "fakes/fake_view.h"
#include "program/status_line.h"
#include "win32/win32_platform.h"

using namespace velkaro;

namespace {

// Median milliseconds of `runs` calls of `part`.
template <typename Part>
double MedianMs(win32::Win32Clock& clock, int runs, Part part) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const double start = clock.monotonicSeconds();
    part();
    ms.push_back((clock.monotonicSeconds() - start) * 1000.0);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  win32::Win32Platform services;
  win32::Win32Clock& clock = services.clock;
  fakes::FakeView view;  // fields in memory, like a window that is never shown
  StatusLine status(view, services.platform);
  status.CreateSampler();
  for (int i = 0; i < 20; ++i) status.Timer1_Timer();  // warm-up

  std::vector<double> ms;
  ms.reserve(static_cast<size_t>(ticks));
  for (int i = 0; i < ticks; ++i) {
    view.log.clear();
    const double start = clock.monotonicSeconds();
    status.Timer1_Timer();
    ms.push_back((clock.monotonicSeconds() - start) * 1000.0);
  }
  std::sort(ms.begin(), ms.end());
  const auto at = [&ms](double q) { return ms[static_cast<size_t>(q * (ms.size() - 1))]; };

  // The tick's parts: one sampler reading, one event processing, one memory figure, the clock.
  Platform& platform = services.platform;
  const double sampler = MedianMs(clock, ticks, [&] { status.sampler()->Val(); });
  const double events = MedianMs(clock, ticks, [&] { platform.pump.doEvents(); });
  const double memory = MedianMs(clock, ticks, [&] { ram::AvailPhysText(platform.machine); });
  const double clocks = MedianMs(clock, ticks, [&] {
    DateTimeText(platform.clock.localTime());
    platform.clock.uptimeMilliseconds();
  });
  std::printf(
      "{\"ticks\": %d, \"median_ms\": %.4f, \"p95_ms\": %.4f, \"max_ms\": %.4f, "
      "\"sampler_ms\": %.4f, \"events_ms\": %.4f, \"memory_figure_ms\": %.4f, "
      "\"clock_ms\": %.4f, \"source\": %d, \"load\": \"%s\", \"uptime\": \"%s\"}\n",
      ticks, at(0.5), at(0.95), ms.back(), sampler, events, memory, clocks,
      static_cast<int>(status.sampler()->source()), view.text(ids::Text5(8)).c_str(),
      view.text(ids::Text1(4)).c_str());
  return 0;
}
