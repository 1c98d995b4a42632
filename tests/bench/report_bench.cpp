// Times a full report run (all eight categories ticked) against the real platform: the program's
// fills as composed, the real management service, the real report file. The management service
// and the file are wrapped to measure the time spent inside them. Prints one JSON line.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <memory>

#include "app/controls.h"
#include "fakes/fake_view.h"
#include "program/compose.h"
#include "report/report.h"
#include "win32/win32_platform.h"

using namespace velkaro;

namespace {

// Seconds spent inside the wrapped calls, added up.
struct Stopwatch {
  Clock& clock;
  double total = 0;
  template <typename Call>
  auto time(Call call) {
    const double start = clock.monotonicSeconds();
    struct Add {
      Stopwatch& w;
      double start;
      ~Add() { w.total += w.clock.monotonicSeconds() - start; }
    } add{*this, start};
    return call();
  }
};

class TimedObject : public WmiObject {
 public:
  TimedObject(std::unique_ptr<WmiObject> o, Stopwatch& w) : o_(std::move(o)), w_(w) {}
  std::optional<WmiValue> get(const std::string& name) override {
    return w_.time([&] { return o_->get(name); });
  }
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
  ~TimedSet() override {
    w_.time([&] {
      s_.reset();
      return 0;
    });
  }
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
  ~TimedService() override {
    w_.time([&] {
      s_.reset();
      return 0;
    });
  }
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
  Management& m_;
  Stopwatch& w_;
};

class TimedPump : public EventPump {
 public:
  TimedPump(EventPump& p, Stopwatch& w) : p_(p), w_(w) {}
  bool doEvents() override {
    return w_.time([&] { return p_.doEvents(); });
  }
  bool waitEvents(double s) override {
    return w_.time([&] { return p_.waitEvents(s); });
  }
  EventPump& p_;
  Stopwatch& w_;
};

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  {
    win32::Win32Platform services;
    Clock& clock = services.clock;
    Stopwatch wmi{clock}, pump{clock};
    TimedManagement management(services.management, wmi);
    TimedPump timedPump(services.pump, pump);
    Platform platform{services.registry, services.system, services.shell, clock,
                      timedPump,         services.files,  management,     services.machine,
                      services.devices,  services.perf,   services.power, services.arena};
    fakes::FakeView view;  // fields in memory, like a window that is never shown
    Form1 form(view);
    AppState state;
    Compose(form, view, platform, state);

    const double start = clock.monotonicSeconds();
    form.OnClick(ids::kImage17);
    const double total = clock.monotonicSeconds() - start;
    const bool done = view.messages.size() == 1 && view.messages[0] == Report::kDoneMessage;
    std::printf(
        "{\"total_s\": %.4f, \"pauses_s\": %.4f, \"wmi_s\": %.4f, \"beyond_pauses_and_wmi_s\": "
        "%.4f, \"done\": %s}\n",
        total, pump.total, wmi.total, total - 8 * Report::kSectionPause - wmi.total,
        done ? "true" : "false");
  }
  CoUninitialize();
  return 0;
}
