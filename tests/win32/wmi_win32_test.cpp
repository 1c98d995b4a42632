// The management service through COM, against Wine's or Windows' own service.
#include <windows.h>
#include <objbase.h>

#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "win32/wmi_values_win32.h"
#include "collectors/wmi_regimes.h"
#include "win32/system_win32.h"
#include "win32/wmi_win32.h"
#include "stalling_service.h"

using namespace velkaro;
using namespace velkaro::win32;

// Values as the service hands them over: unsigned numbers in signed form, arrays, nulls.
TEST(WmiValues, UnsignedNumbersArraysAndNullsBecomeTheCoresValues) {
  Variant number;
  number.v.vt = VT_I4;
  number.v.lVal = -1;
  EXPECT_EQ(ToWmiValue(number.v, CIM_UINT32).integer, 4294967295);
  EXPECT_EQ(ToWmiValue(number.v, CIM_UINT16).integer, 65535);
  EXPECT_EQ(ToWmiValue(number.v, CIM_SINT32).integer, -1);
  Variant list;
  list.v.vt = VT_ARRAY | VT_BSTR;
  list.v.parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
  for (LONG i = 0; i < 2; ++i) {
    Bstr item(i ? L"10.0.0.2" : L"192.168.1.5");
    ASSERT_TRUE(SUCCEEDED(SafeArrayPutElement(list.v.parray, &i, item.get())));
  }
  const WmiValue ips = ToWmiValue(list.v, CIM_STRING | CIM_FLAG_ARRAY);
  ASSERT_EQ(ips.kind, WmiValue::Kind::Array);
  EXPECT_EQ(JoinArray(ips, " "), "192.168.1.5 10.0.0.2");
  Variant null;
  null.v.vt = VT_NULL;
  EXPECT_EQ(ToWmiValue(null.v, CIM_STRING).kind, WmiValue::Kind::Null);
}

namespace {

// A window event that comes while a call waits: a thread timer whose procedure runs once.
std::function<void()> g_event;
int g_handled;

void CALLBACK RunEvent(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ++g_handled;
  if (auto event = std::exchange(g_event, nullptr)) event();
}

void Post(std::function<void()> event = [] {}) {
  g_event = std::move(event);
  SetTimer(nullptr, 0, 0, RunEvent);
}

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
    g_handled = 0;
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
    g_handled = 0;
    Post();
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
    EXPECT_EQ(g_handled, 1);  // the window's events went on during the wait
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
  // Each answer takes longer than a tenth of the deadline left: the wait for it is the whole of it.
  plan = StallPlan{kStallNext, 400, plan.release};
  Post();
  const double start = clock.monotonicSeconds();
  ManagementWork work(management, 3.0);
  const Walk walk = WalkAll(management);
  EXPECT_GE(Since(start), 1.19);  // three answers of 400 ms, the last one the end
  EXPECT_EQ(walk.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
  EXPECT_FALSE(walk.failed);
  EXPECT_EQ(g_handled, 1);
  EXPECT_FALSE(management.stalled());
}

TEST_F(Stalling, AStallInANestedWorkEndsTheOuterWaitToo) {
  // The outer call hangs; a click taken meanwhile starts a fill of its own, which waits behind
  // the hung call until its own deadline and then gives the service up: the outer wait ends then
  // too, long before its own deadline.
  plan.step = kStallConnect;
  Walk inner;
  Post([&] {
    ManagementWork work(management, 0.3);
    inner = WalkAll(management);
  });
  const double start = clock.monotonicSeconds();
  ManagementWork work(management, 5.0);
  const Walk outer = WalkAll(management);
  EXPECT_LT(Since(start), 2.0);
  EXPECT_FALSE(inner.bound);
  EXPECT_FALSE(outer.bound);
  EXPECT_EQ(g_handled, 1);
  EXPECT_EQ(locators, 1);  // the inner connection never reached the service
  EXPECT_TRUE(management.stalled());
}

TEST_F(Stalling, TheProgramEndingEndsAWaitAtOnceAndNothingIsAskedAfterwards) {
  plan.step = kStallConnect;
  Post([&] { pump.quit(0); });
  const double start = clock.monotonicSeconds();
  EXPECT_FALSE(management.connect(wmi::kLocalCimV2));
  EXPECT_LT(Since(start), 0.5);
  plan.step = kStallNowhere;  // the service would answer now, but it is not asked
  EXPECT_FALSE(management.connect(wmi::kLocalCimV2));
  EXPECT_TRUE(management.stalled());
}
