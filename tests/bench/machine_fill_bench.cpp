// Times the Computer, Laufwerke, CPU, Arbeitsspeicher and Sonstiges fills against the real
// platform, and the management queries of the WMI-backed fills alone (connect, query, walk,
// read the same properties), so the service's own time can be told apart from the fill's.
// The fill named by the first argument runs first in the process (cold: the process's first
// management connection). Prints one JSON line.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "collectors/computer.h"
#include "collectors/cpu.h"
#include "collectors/laufwerke.h"
#include "collectors/ram.h"
#include "collectors/sonstiges.h"
#include "collectors/wmi_regimes.h"
#include "fakes/fake_view.h"
#include "win32/win32_platform.h"

using namespace velkaro;

namespace {

struct WmiWalk {
  const char* query;
  std::vector<const char*> properties;
};

// What a fill asks of the service, without the fill.
void Walk(Management& management, const std::vector<WmiWalk>& walks) {
  for (const auto& w : walks) {
    const auto service = management.connect(wmi::kLocalCimV2);
    if (!service) continue;
    const auto objects = service->execQuery(w.query, kWmiReturnImmediatelyForwardOnly);
    if (!objects) continue;
    while (const auto object = objects->next())
      for (const char* p : w.properties) object->get(p);
  }
}

struct Timed {
  std::string name;
  std::function<void()> run;
  std::vector<double> ms;
};

// The seven texts take microseconds: they are timed over many rounds and averaged.
constexpr int kTextRounds = 1000;
volatile size_t sink = 0;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "Computer";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  win32::Win32Platform services;
  Platform& platform = services.platform;
  fakes::FakeView view;  // fields in memory, like a window that is never shown
  AppState state;
  Management& wmi = platform.management;
  Machine& machine = platform.machine;
  const auto now = [&] { return services.clock.monotonicSeconds() * 1000.0; };

  const std::vector<WmiWalk> computer = {
      {"Select * from Win32_BaseBoard", {"Product", "Version", "SerialNumber"}},
      {"Select * from Win32_BIOS", {"Description", "Version", "BuildNumber", "releasedate"}},
      {"Select * from Win32_ComputerSystemProduct", {"Caption", "Name", "Version"}}};
  const std::vector<WmiWalk> drives = {
      {"Select * from Win32_LogicalDisk",
       {"DeviceID", "FileSystem", "Description", "Size", "FreeSpace"}}};
  const std::vector<WmiWalk> processor = {
      {"Select * from Win32_Processor",
       {"Name", "Description", "Revision", "L2CacheSize", "L2CacheSpeed", "ExtClock",
        "MaxClockSpeed", "VoltageCaps"}}};

  std::vector<Timed> timed = {
      {"Computer", [&] { Computer::Fill(platform, view); }, {}},
      {"Laufwerke", [&] { Laufwerke::ReadDriveInfo(wmi, machine, view, state); }, {}},
      {"CPU", [&] { CPU::ReadProcessorInfo(wmi, machine, view); }, {}},
      {"Arbeitsspeicher", [&] { ram::Fill(machine, view); }, {}},
      {"Sonstiges", [&] { Sonstiges::Fill(platform.registry, view); }, {}},
      {"wmi_Computer", [&] { Walk(wmi, computer); }, {}},
      {"wmi_Laufwerke", [&] { Walk(wmi, drives); }, {}},
      {"wmi_CPU", [&] { Walk(wmi, processor); }, {}},
      {"memory_texts",
       [&] {
         using Text = std::string (*)(Machine&);
         static constexpr Text kTexts[] = {ram::TotalPhysText,     ram::AvailPhysText,
                                           ram::TotalVirtualText,  ram::AvailVirtualText,
                                           ram::TotalPageFileText, ram::AvailPageFileText,
                                           ram::MemoryLoadText};
         size_t length = 0;
         for (int i = 0; i < kTextRounds; ++i)
           for (const Text text : kTexts) length += text(machine).size();
         sink = length;
       },
       {}},
  };
  double cold = -1;
  for (auto& t : timed) {
    if (t.name != first) continue;
    const double start = now();
    t.run();
    cold = now() - start;
  }
  for (int i = 0; i < runs; ++i) {
    for (auto& t : timed) {
      const double start = now();
      t.run();
      t.ms.push_back(now() - start);
    }
  }
  std::printf("{\"first\": \"%s\", \"cold_ms\": %.3f, \"runs\": %d", first.c_str(), cold, runs);
  for (const auto& t : timed) {
    const double median = t.name == "memory_texts" ? Median(t.ms) / kTextRounds : Median(t.ms);
    std::printf(", \"%s_ms\": %.4f", t.name.c_str(), median);
  }
  std::printf(", \"drives\": %d, \"cpu_count\": \"%s\"}\n", state.LaufwerkAnzahl / 6,
              view.text(ids::Text5(9)).c_str());
  CoUninitialize();
  return 0;
}
