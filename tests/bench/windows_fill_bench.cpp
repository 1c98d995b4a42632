// Times the Windows panel's fill against the real platform: the first fill of the process
// (cold: the first management connection) and the following ones. Prints one JSON line.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "collectors/windows.h"
#include "fakes/fake_view.h"
#include "win32/win32_platform.h"

using namespace velkaro;

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  win32::Win32Platform services;
  Platform& platform = services.platform;
  win32::Win32Clock& clock = services.clock;
  fakes::FakeView view;  // fields in memory, like a window that is never shown

  std::vector<double> ms;
  for (int i = 0; i <= runs; ++i) {
    const double start = clock.monotonicSeconds();
    Windows::Fill(platform, view);
    ms.push_back((clock.monotonicSeconds() - start) * 1000.0);
  }
  const double cold = ms.front();
  std::vector<double> warm(ms.begin() + 1, ms.end());
  std::sort(warm.begin(), warm.end());
  std::printf(
      "{\"cold_ms\": %.2f, \"warm_min_ms\": %.2f, \"warm_median_ms\": %.2f, \"warm_max_ms\": "
      "%.2f, \"runs\": %d, \"os\": \"%s\", \"wmi\": \"%s\"}\n",
      cold, warm.front(), warm[warm.size() / 2], warm.back(), runs,
      view.text(ids::Text1(0)).c_str(), view.text(ids::Text1(9)).c_str());
  CoUninitialize();
  return 0;
}
