// Times one tick of the status line against the real platform (sampler, clock, memory status,
// event processing) writing into fields in memory. Prints one JSON line.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fakes/fake_view.h"
#include "program/status_line.h"
#include "win32/win32_platform.h"

using namespace velkaro;

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
  std::printf(
      "{\"ticks\": %d, \"median_ms\": %.4f, \"p95_ms\": %.4f, \"max_ms\": %.4f, \"source\": %d, "
      "\"load\": \"%s\", \"uptime\": \"%s\"}\n",
      ticks, at(0.5), at(0.95), ms.back(), static_cast<int>(status.sampler()->source()),
      view.text(ids::Text5(8)).c_str(), view.text(ids::Text1(4)).c_str());
  return 0;
}
