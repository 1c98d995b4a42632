// The management service through COM, against Wine's or Windows' own service.
#include <windows.h>
#include <objbase.h>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "collectors/windows_system.h"
#include "collectors/wmi_regimes.h"
#include "text/text.h"
#include "win32/system_win32.h"
#include "win32/wmi_win32.h"
#include "stalling_service.h"

using namespace velkaro;
using namespace velkaro::win32;

namespace {

class Wmi : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }
  MessagePump pump;
  Win32Clock clock;
  ComManagement management{pump, clock};
};

}  // namespace

TEST_F(Wmi, TheServiceIsReachableAndItsProcessorQueryDeliversNamedObjects) {
  EXPECT_TRUE(Windows::WmiReachable(management));
  const auto service = management.connect(wmi::kLocalCimV2);
  ASSERT_TRUE(service);
  const auto objects = service->execQuery("Select * from Win32_Processor", 48);
  ASSERT_TRUE(objects);
  int count = 0;
  while (const auto processor = objects->next()) {
    ++count;
    const auto name = processor->get("Name");
    ASSERT_TRUE(name);
    ASSERT_EQ(name->kind, WmiValue::Kind::Text);
    EXPECT_FALSE(text::TrimBlanks(name->text).empty());
    // A uint32 arrives as an unsigned number.
    const auto clock = processor->get("MaxClockSpeed");
    ASSERT_TRUE(clock);
    ASSERT_EQ(clock->kind, WmiValue::Kind::Integer);
    EXPECT_GE(clock->integer, 0);
    EXPECT_FALSE(processor->get("NoSuchProperty"));
  }
  EXPECT_FALSE(objects->failed());
  EXPECT_GE(count, 1);
}

TEST_F(Wmi, QueriesByTextAloneAndArraysOfText) {
  const auto service = management.connect("winmgmts:");
  ASSERT_TRUE(service);
  const auto adapters = service->execQuery(
      "SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled = True", std::nullopt);
  ASSERT_TRUE(adapters);
  while (const auto adapter = adapters->next()) {
    const auto ips = adapter->get("IPAddress");
    ASSERT_TRUE(ips);
    if (ips->kind == WmiValue::Kind::Null) continue;
    ASSERT_EQ(ips->kind, WmiValue::Kind::Array);
    for (const auto& ip : ips->items) EXPECT_EQ(ip.kind, WmiValue::Kind::Text);
    EXPECT_TRUE(JoinArray(*ips, " "));
  }
  EXPECT_FALSE(adapters->failed());
}

TEST_F(Wmi, UnknownClassesAndBadQueriesFailAsValues) {
  const auto service = management.connect(wmi::kLocalCimV2);
  ASSERT_TRUE(service);
  // An unknown class delivers nothing (or fails); a malformed query fails.
  const auto unknown = service->execQuery("Select * from Win32_VelkaroNoSuchClass", 48);
  EXPECT_TRUE(!unknown || (!unknown->next() && !unknown->next()));
  const auto malformed = service->execQuery("Select from where", 48);
  if (malformed) {
    EXPECT_FALSE(malformed->next());
    EXPECT_TRUE(malformed->failed());
  }
  EXPECT_FALSE(management.connect("winmgmts:root\\velkaro_no_such_namespace"));
  EXPECT_FALSE(management.connect("not a moniker"));
  EXPECT_FALSE(management.getObject("winmgmts:root\\cimv2:Win32_VelkaroNoSuchClass=@"));
}

namespace {

// A message-only window whose posted events run while a call waits.
class Events {
 public:
  Events() {
    static const ATOM kClass = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"VelkaroTestEvents";
      return RegisterClassW(&wc);
    }();
    hwnd_ = CreateWindowExW(0, MAKEINTATOM(kClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Events() { DestroyWindow(hwnd_); }
  void post(std::function<void()> event = {}) {
    queued_.push_back(std::move(event));
    PostMessageW(hwnd_, WM_APP, 0, 0);
  }
  int handled = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Events*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_APP || !self) return DefWindowProcW(hwnd, msg, wp, lp);
    ++self->handled;
    auto event = std::move(self->queued_.front());
    self->queued_.erase(self->queued_.begin());
    if (event) event();
    return 0;
  }
  HWND hwnd_;
  std::vector<std::function<void()>> queued_;
};

// How far a walk over the stand-in got: bound, queried, the names read, and whether it failed.
struct Walk {
  bool bound = false;
  bool queried = false;
  std::vector<std::string> names;
  bool failed = false;
};

Walk WalkAll(Management& management) {
  Walk walk;
  const auto service = management.connect(wmi::kLocalCimV2);
  walk.bound = service != nullptr;
  const auto objects = service ? service->execQuery("Select * from Thing", 48) : nullptr;
  walk.queried = objects != nullptr;
  while (objects) {
    const auto object = objects->next();
    if (!object) break;
    const auto name = object->get("Name");
    if (name) walk.names.push_back(name->text);
  }
  walk.failed = objects && objects->failed();
  return walk;
}

// A stand-in service and the program's side of it; stalls end when the case ends. The plans
// live as long as the test program: a thread that was given up may still read its own.
struct Stalling : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    SetEvent(plan.release);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoUninitialize();
  }
  ComManagement::LocatorFactory Locator() {
    return [this](IWbemLocator** locator) {
      InterlockedIncrement(&locators);
      return CreateStallingLocator(&plan, locator);
    };
  }
  double Since(double start) { return clock.monotonicSeconds() - start; }

  StallPlan& plan =
      *new StallPlan{kStallNowhere, INFINITE, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  volatile LONG locators = 0;
  MessagePump pump;
  Win32Clock clock;
  Events events;
  ComManagement management{pump, clock, Locator(), ServiceTiming{5.0, 0.5}};
};

}  // namespace

TEST_F(Stalling, AStallAtAnyStepCostsOneDeadlineWhileWindowEventsGoOn) {
  const struct {
    StallStep step;
    bool bound, queried, failed;
  } steps[] = {{kStallConnect, false, false, false},
               {kStallQuery, true, false, false},
               {kStallNext, true, true, true},
               {kStallGet, true, true, true}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    ComManagement service(pump, clock, Locator(), ServiceTiming{5.0, 0.5});
    plan.step = s.step;
    locators = 0;
    events.handled = 0;
    events.post();
    const double start = clock.monotonicSeconds();
    Walk walk;
    {
      ManagementWork work(service, 0.3);
      walk = WalkAll(service);
    }
    EXPECT_GE(Since(start), 0.28);
    EXPECT_LT(Since(start), 2.0);
    EXPECT_EQ(walk.bound, s.bound);
    EXPECT_EQ(walk.queried, s.queried);
    EXPECT_TRUE(walk.names.empty());
    EXPECT_EQ(walk.failed, s.failed);
    EXPECT_EQ(events.handled, 1);  // the window's events went on during the wait
    // The service that stalled is left alone: the next call fails at once.
    EXPECT_TRUE(service.stalled());
    const double again = clock.monotonicSeconds();
    EXPECT_FALSE(service.connect(wmi::kLocalCimV2));
    EXPECT_LT(Since(again), 0.05);
    EXPECT_EQ(locators, 1);
    // After a while it is asked again, on a new thread, while the old one still hangs.
    while (Since(again) < 0.6) pump.waitEvents(0.6 - Since(again));
    plan.step = kStallNowhere;
    const Walk retry = WalkAll(service);
    EXPECT_EQ(retry.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
    EXPECT_FALSE(retry.failed);
    EXPECT_EQ(locators, 2);
  }
}

TEST_F(Stalling, SlowStepsWithinTheDeadlineDeliverEverything) {
  plan = StallPlan{kStallNext, 150, plan.release};
  events.post();
  const double start = clock.monotonicSeconds();
  ManagementWork work(management, 3.0);
  const Walk walk = WalkAll(management);
  EXPECT_GE(Since(start), 0.4);  // three answers of 150 ms, the last one the end
  EXPECT_EQ(walk.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
  EXPECT_FALSE(walk.failed);
  EXPECT_EQ(events.handled, 1);
  EXPECT_FALSE(management.stalled());
}

TEST_F(Stalling, AStallInANestedWorkEndsTheOuterWaitToo) {
  // The outer call hangs; a click taken meanwhile starts a fill of its own, which waits behind
  // the hung call until its own deadline and then gives the service up: the outer wait ends then
  // too, long before its own deadline.
  plan.step = kStallConnect;
  Walk inner;
  events.post([&] {
    ManagementWork work(management, 0.3);
    inner = WalkAll(management);
  });
  const double start = clock.monotonicSeconds();
  ManagementWork work(management, 5.0);
  const Walk outer = WalkAll(management);
  EXPECT_LT(Since(start), 2.0);
  EXPECT_FALSE(inner.bound);
  EXPECT_FALSE(outer.bound);
  EXPECT_EQ(events.handled, 1);
  EXPECT_EQ(locators, 1);  // the inner connection never reached the service
  EXPECT_TRUE(management.stalled());
}

TEST_F(Stalling, TheProgramEndingEndsAWaitAtOnceAndNothingIsAskedAfterwards) {
  plan.step = kStallConnect;
  events.post([&] { pump.quit(0); });
  const double start = clock.monotonicSeconds();
  EXPECT_FALSE(management.connect(wmi::kLocalCimV2));
  EXPECT_LT(Since(start), 0.5);
  plan.step = kStallNowhere;  // the service would answer now, but it is not asked
  EXPECT_FALSE(management.connect(wmi::kLocalCimV2));
  EXPECT_TRUE(management.stalled());
}
