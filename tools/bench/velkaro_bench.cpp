// Timing program run under Wine by scripts/bench.py. It puts the program together as the real
// one does (Compose on a Form1), against the real Win32 platform and fields in memory, and drives
// it through the window's events. The management service is wrapped to add up the time spent
// inside it. Each mode prints one JSON line of samples in milliseconds; the script does the
// statistics.
//   fill INDEX RUNS  the fill of menu entry INDEX (0-7): once first in the process (cold: its
//                    first management connection, its first use of every system library the
//                    fill needs), then RUNS times more (warm); meanwhile a second thread sends
//                    WM_NULL to a window of the filling thread again and again, and the round
//                    trips tell how soon the window answers during a fill
//   port             the Netzwerk fill with COM3 a port whose open blocks for 30 s (through the
//                    devices' seam: a blocking device would stall Wine's server itself)
//   report           one report run with all eight categories ticked
//   tick RUNS        status-line ticks after the window's load
//   launcher RUNS    clicks on every tool launcher button, to the return of the handler
//   release RUNS     the memory release with its memory faked (a machine of 64 MB whose chunks
//                    come from the heap): its steps and event handling, never the real claim
// Every mode that runs a user's action also sends WM_NULL to the window again and again while
// it runs ("answers"): how long the window's thread is held at a time.
#include <windows.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/controls.h"
#include "app/form1.h"
#include "app/layout.h"
#include "memory_view.h"
#include "program/compose.h"
#include "report/report.h"
#include "tools/launchers.h"
#include "win32/platform_bundle.h"

using namespace velkaro;

namespace {

// Seconds spent inside the wrapped calls, added up.
struct Stopwatch {
  Clock& clock;
  double total = 0;
  template <typename Call>
  auto time(Call call) {
    const double start = clock.monotonicSeconds();
    auto result = call();
    total += clock.monotonicSeconds() - start;
    return result;
  }
};

class TimedObject : public WmiObject {
 public:
  TimedObject(std::unique_ptr<WmiObject> o, Stopwatch& w) : o_(std::move(o)), w_(w) {}
  std::optional<WmiValue> get(const std::string& name) override {
    return w_.time([&] { return o_->get(name); });
  }

 private:
  std::unique_ptr<WmiObject> o_;
  Stopwatch& w_;
};

class TimedSet : public WmiObjectSet {
 public:
  TimedSet(std::unique_ptr<WmiObjectSet> s, Stopwatch& w) : s_(std::move(s)), w_(w) {}
  std::unique_ptr<WmiObject> next() override {
    auto o = w_.time([&] { return s_->next(); });
    return o ? std::make_unique<TimedObject>(std::move(o), w_) : nullptr;
  }
  bool failed() const override { return s_->failed(); }

 private:
  std::unique_ptr<WmiObjectSet> s_;
  Stopwatch& w_;
};

class TimedService : public WmiService {
 public:
  TimedService(std::unique_ptr<WmiService> s, Stopwatch& w) : s_(std::move(s)), w_(w) {}
  std::unique_ptr<WmiObjectSet> execQuery(const std::string& q,
                                          std::optional<int32_t> flags) override {
    auto set = w_.time([&] { return s_->execQuery(q, flags); });
    return set ? std::make_unique<TimedSet>(std::move(set), w_) : nullptr;
  }

 private:
  std::unique_ptr<WmiService> s_;
  Stopwatch& w_;
};

class TimedManagement : public Management {
 public:
  TimedManagement(Management& m, Stopwatch& w) : m_(m), w_(w) {}
  std::unique_ptr<WmiService> connect(const std::string& moniker) override {
    auto s = w_.time([&] { return m_.connect(moniker); });
    return s ? std::make_unique<TimedService>(std::move(s), w_) : nullptr;
  }
  std::unique_ptr<WmiObject> getObject(const std::string& moniker) override {
    auto o = w_.time([&] { return m_.getObject(moniker); });
    return o ? std::make_unique<TimedObject>(std::move(o), w_) : nullptr;
  }
  bool unanswered() override { return m_.unanswered(); }

 private:
  Management& m_;
  Stopwatch& w_;
};

// A machine whose memory is 64 MB, the rest as the real one tells it.
class SmallMachine : public Machine {
 public:
  explicit SmallMachine(Machine& real) : real_(real) {}
  MemoryStatus memoryStatus() override {
    MemoryStatus status = real_.memoryStatus();
    status.totalPhys = 64u << 20;
    status.availPhys = 32u << 20;
    return status;
  }
  numfmt::NumberSettings numberSettings() override { return real_.numberSettings(); }
  PowerStatus powerStatus() override { return real_.powerStatus(); }
  ProcessorFacts processorFacts() override { return real_.processorFacts(); }

 private:
  Machine& real_;
};

// Memory from the heap in place of the system's.
class HeapArena : public MemoryArena {
 public:
  char16_t* allocate(std::size_t chars) override { return new (std::nothrow) char16_t[chars]; }
  void release(char16_t* chunk) override { delete[] chunk; }
};

// A port whose open blocks for 30 s, as a Bluetooth port whose device is out of reach does.
bool BlockingPort(const std::wstring& device, PortAccess access) {
  if (device == L"COM3") Sleep(30000);
  return win32::Win32Devices::OpenAndClose(device, access);
}

// The program as composed, with the management service timed. `faked` puts the memory release's
// machine and memory, and a blocking port, in place of the real ones.
struct Rig {
  explicit Rig(bool faked = false) : faked_(faked) {
    state.DirectXVersion = " 9.0c";  // what the start-up reads from the diagnostic dump
    Compose(form, view, platform, state);
  }
  bool faked_;
  win32::Win32Platform services;
  Stopwatch wmi{services.clock};
  TimedManagement management{services.management, wmi};
  SmallMachine smallMachine{services.machine};
  HeapArena heap;
  win32::Win32Devices blockingDevices{&services.portCalls, &services.fileCalls, BlockingPort};
  Platform platform{services.registry,
                    services.system,
                    services.shell,
                    services.clock,
                    services.pump,
                    services.deadlines,
                    services.files,
                    management,
                    faked_ ? static_cast<Machine&>(smallMachine) : services.machine,
                    faked_ ? static_cast<Devices&>(blockingDevices) : services.devices,
                    services.perf,
                    services.power,
                    faked_ ? static_cast<MemoryArena&>(heap) : services.arena};
  bench::MemoryView view;  // fields in memory, like a window that is never shown
  Form1 form{view};
  AppState state;

  // Milliseconds of one call of `work`, and of the management service's part of it.
  std::pair<double, double> time(const std::function<void()>& work) {
    const double wmiBefore = wmi.total;
    const double start = services.clock.monotonicSeconds();
    work();
    const double ms = (services.clock.monotonicSeconds() - start) * 1000.0;
    return {ms, (wmi.total - wmiBefore) * 1000.0};
  }
};

std::string List(const std::vector<double>& values) {
  std::string s = "[";
  char number[32];
  for (double v : values) {
    std::snprintf(number, sizeof number, "%s%.4f", s.size() > 1 ? ", " : "", v);
    s += number;
  }
  return s + "]";
}

// Ends the processes this program started (the launched tools).
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

// Asks a window of this thread to take WM_NULL, from a thread of its own, one ask after the
// other while it runs, and keeps each round trip.
class Pinger {
 public:
  Pinger()
      : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr)) {}
  ~Pinger() { DestroyWindow(window_); }
  void start() {
    running_ = 1;
    thread_ = CreateThread(nullptr, 0, Main, this, 0, nullptr);
  }
  std::vector<double> stop() {
    running_ = 0;
    // The last ask may still wait for this thread: answer it while waiting for the end.
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    CloseHandle(thread_);
    return std::move(trips_);
  }

 private:
  static DWORD WINAPI Main(void* self) {
    auto* pinger = static_cast<Pinger*>(self);
    win32::Win32Clock clock;
    while (pinger->running_) {
      const double sent = clock.monotonicSeconds();
      DWORD_PTR result = 0;
      SendMessageTimeoutW(pinger->window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
      pinger->trips_.push_back((clock.monotonicSeconds() - sent) * 1000.0);
      Sleep(2);
    }
    return 0;
  }
  HWND window_;
  HANDLE thread_ = nullptr;
  volatile LONG running_ = 0;
  std::vector<double> trips_;
};

// The window's answers while `action` runs.
std::vector<double> Answers(const std::function<void()>& action) {
  Pinger pinger;
  pinger.start();
  action();
  return pinger.stop();
}

int Fill(Rig& rig, int index, int runs) {
  const int label = ids::Label(kMenu[index].label);
  std::vector<double> ms, wmi, answers;
  Pinger pinger;
  for (int i = 0; i <= runs; ++i) {
    pinger.start();
    const auto [total, inWmi] = rig.time([&] { rig.form.OnClick(label); });
    const auto trips = pinger.stop();
    answers.insert(answers.end(), trips.begin(), trips.end());
    ms.push_back(total);
    wmi.push_back(inWmi);
  }
  std::printf("{\"category\": \"%s\", \"cold\": %.4f, \"cold_wmi\": %.4f, ", kMenu[index].caption,
              ms[0], wmi[0]);
  ms.erase(ms.begin());
  wmi.erase(wmi.begin());
  std::printf("\"warm\": %s, \"wmi_warm\": %s, \"answers\": %s}\n", List(ms).c_str(),
              List(wmi).c_str(), List(answers).c_str());
  return 0;
}

int BlockedPort(Rig& rig) {
  std::pair<double, double> took;
  const auto answers =
      Answers([&] { took = rig.time([&] { rig.form.OnClick(ids::Label(kMenu[2].label)); }); });
  const std::string com3 = rig.view.text(ids::Text1(35));
  std::printf("{\"total\": %.4f, \"com3\": \"%s\", \"answers\": %s}\n", took.first, com3.c_str(),
              List(answers).c_str());
  return com3 == "Port nicht vorhanden oder nicht bereit." ? 0 : 1;
}

int FullReport(Rig& rig) {
  std::pair<double, double> took;
  const auto answers = Answers([&] { took = rig.time([&] { rig.form.OnClick(ids::kImage17); }); });
  const bool done =
      rig.view.messages.size() == 1 && rig.view.messages[0].text == Report::kDoneMessage;
  std::printf("{\"total\": %.4f, \"wmi\": %.4f, \"done\": %s, \"answers\": %s}\n", took.first,
              took.second, done ? "true" : "false", List(answers).c_str());
  return done ? 0 : 1;
}

int Release(Rig& rig, int runs) {
  std::vector<double> ms, answers;
  for (int i = 0; i < runs; ++i) {
    const auto trips = Answers([&] {
      ms.push_back(rig.time([&] { rig.form.OnClick(ids::Image(ButtonImage(Art::Memory))); }).first);
    });
    answers.insert(answers.end(), trips.begin(), trips.end());
  }
  std::printf("{\"release\": %s, \"answers\": %s}\n", List(ms).c_str(), List(answers).c_str());
  return 0;
}

int Ticks(Rig& rig, int runs) {
  rig.form.Form_Load();  // creates the sampler, fills the Windows panel
  for (int i = 0; i < 20; ++i) rig.form.Timer1_Timer();  // warm-up
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) ms.push_back(rig.time([&] { rig.form.Timer1_Timer(); }).first);
  std::printf("{\"tick\": %s, \"load\": \"%s\"}\n", List(ms).c_str(),
              rig.view.text(ids::Text5(8)).c_str());
  return 0;
}

int Launcher(Rig& rig, int runs) {
  // Every launcher: tools Wine has (the control panel, rundll32 with its pages) and programs it
  // lacks (Windows Update, the volume control).
  std::string out = "{";
  for (const auto& launcher : launchers::kLaunchers) {
    std::vector<double> ms, answers;
    for (int i = 0; i < runs; ++i) {
      const auto trips = Answers([&] {
        ms.push_back(
            rig.time([&] { rig.form.OnClick(ids::Image(ButtonImage(launcher.button))); }).first);
      });
      answers.insert(answers.end(), trips.begin(), trips.end());
      EndChildren();
    }
    out += std::string(out.size() > 1 ? ", " : "") + "\"Image" +
           std::to_string(ButtonImage(launcher.button)) + " " + launcher.program +
           "\": {\"click\": " + List(ms) + ", \"answers\": " + List(answers) + "}";
  }
  std::printf("%s}\n", out.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  int status = 2;
  {
    Rig rig(mode == "port" || mode == "release");
    if (mode == "fill" && arg(2, -1) >= 0 && arg(2, -1) < 8)
      status = Fill(rig, arg(2, 0), arg(3, 20));
    else if (mode == "port")
      status = BlockedPort(rig);
    else if (mode == "release")
      status = Release(rig, arg(2, 5));
    else if (mode == "report")
      status = FullReport(rig);
    else if (mode == "tick")
      status = Ticks(rig, arg(2, 2000));
    else if (mode == "launcher")
      status = Launcher(rig, arg(2, 5));
    else
      std::fprintf(stderr,
                   "usage: velkaro_bench fill INDEX RUNS | port | report | tick RUNS | "
                   "launcher RUNS | release RUNS\n");
  }
  CoUninitialize();
  return status;
}
