// Times the Audio / Grafik and Netzwerk / Internet fills against the real platform, warm (after
// one untimed fill each), once with the real management service and once with a service that
// cannot be bound (the difference is what WMI costs), and the four port probes alone.
// Prints one JSON line of medians in milliseconds.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "collectors/grafik.h"
#include "collectors/netzwerk.h"
#include "fakes/fake_management.h"
#include "fakes/fake_view.h"
#include "win32/win32_platform.h"

using namespace velkaro;

namespace {

double MedianMs(win32::Win32Clock& clock, int runs, const std::function<void()>& work) {
  work();  // warm-up
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const double start = clock.monotonicSeconds();
    work();
    ms.push_back((clock.monotonicSeconds() - start) * 1000.0);
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  win32::Win32Platform services;
  Platform& real = services.platform;
  fakes::FakeManagement noService;  // nothing can be bound
  Platform noWmi{real.registry, real.system,  real.shell,   real.clock, real.pump,  real.files,
                 noService,     real.machine, real.devices, real.perf,  real.power, real.arena};
  win32::Win32Clock& clock = services.clock;
  fakes::FakeView view;  // fields in memory, like a window that is never shown

  const double grafik = MedianMs(clock, runs, [&] { Grafik::Fill(real, view, " 9.0c"); });
  const double grafikNoWmi = MedianMs(clock, runs, [&] { Grafik::Fill(noWmi, view, " 9.0c"); });
  const double netz = MedianMs(clock, runs, [&] { Netzwerk::Fill(real, view); });
  const double netzNoWmi = MedianMs(clock, runs, [&] { Netzwerk::Fill(noWmi, view); });
  const double ports = MedianMs(clock, runs, [&] { Netzwerk::ProbePorts(real.devices, view); });
  const double browser = MedianMs(
      clock, runs, [&] { view.setText(ids::Text1(33), Netzwerk::GetDefaultBrowser(real)); });
  std::printf(
      "{\"grafik_ms\": %.2f, \"grafik_without_wmi_ms\": %.2f, \"netzwerk_ms\": %.2f, "
      "\"netzwerk_without_wmi_ms\": %.2f, \"ports_ms\": %.3f, \"browser_ms\": %.2f, "
      "\"runs\": %d, \"resolution\": \"%s\", \"browser\": \"%s\", \"com1\": \"%s\"}\n",
      grafik, grafikNoWmi, netz, netzNoWmi, ports, browser, runs, view.text(ids::Text1(25)).c_str(),
      view.text(ids::Text1(33)).c_str(), view.text(ids::Text1(30)).c_str());
  CoUninitialize();
  return 0;
}
