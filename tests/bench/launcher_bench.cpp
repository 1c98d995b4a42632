// Times a click on the tool launcher buttons against the real platform: from the click to the
// return of its handler (the tool is started, not waited for). Only launcher buttons are wired
// here, never the power or memory buttons. The tools it started are ended again. Prints one
// JSON line.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "fakes/fake_view.h"
#include "tools/launchers.h"
#include "win32/win32_platform.h"

using namespace velkaro;

namespace {

// Ends the processes this program started (its children), the started tools.
void EndChildren() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e)) {
    if (e.th32ParentProcessID != GetCurrentProcessId()) continue;
    if (HANDLE child = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e.th32ProcessID)) {
      TerminateProcess(child, 0);
      WaitForSingleObject(child, 5000);
      CloseHandle(child);
    }
  }
  CloseHandle(snap);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  win32::Win32Platform services;
  fakes::FakeView view;
  Form1 form(view);
  for (const auto& launcher : launchers::kLaunchers)
    form.setButtonAction(
        launcher.image, [&services, &launcher] { launchers::Launch(launcher, services.platform); });

  // Systempanel (a tool Wine has), Internetoptionen (rundll32 with a page Wine has), Windows
  // Update and the volume control (programs Wine lacks).
  const int buttons[] = {8, 14, 9, 11};
  std::printf("{");
  double worst = 0;
  for (int image : buttons) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
      const double start = services.clock.monotonicSeconds();
      form.OnClick(ids::Image(image));
      ms.push_back((services.clock.monotonicSeconds() - start) * 1000.0);
      EndChildren();
    }
    std::sort(ms.begin(), ms.end());
    worst = std::max(worst, ms.back());
    std::printf("\"Image%d\": {\"min_ms\": %.2f, \"median_ms\": %.2f, \"max_ms\": %.2f}, ", image,
                ms.front(), ms[ms.size() / 2], ms.back());
  }
  std::printf("\"max_ms\": %.2f, \"runs\": %d}\n", worst, runs);
  return 0;
}
