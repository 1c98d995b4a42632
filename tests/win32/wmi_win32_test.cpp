// The management service through COM, against Wine's or Windows' own service and a stand-in
// that stalls.
#include <windows.h>
#include <objbase.h>

#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32/wmi_values_win32.h"
#include "collectors/wmi_regimes.h"
#include "win32/system_win32.h"
#include "app/fields.h"
#include "collectors/windows_system.h"
#include "fakes/fake_view.h"
#include "win32/late_bound.h"
#include "win32/wide.h"
#include "win32/wmi_win32.h"
#include "stalling_service.h"
#include "waits.h"

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
  Variant counts;  // an array's items are unsigned as its type says, too
  counts.v.vt = VT_ARRAY | VT_I4;
  counts.v.parray = SafeArrayCreateVector(VT_I4, 0, 1);
  LONG first = 0, minusOne = -1;
  ASSERT_TRUE(SUCCEEDED(SafeArrayPutElement(counts.v.parray, &first, &minusOne)));
  EXPECT_EQ(ToWmiValue(counts.v, CIM_UINT32 | CIM_FLAG_ARRAY).items.at(0).integer, 4294967295);
  Variant null;
  null.v.vt = VT_NULL;
  EXPECT_EQ(ToWmiValue(null.v, CIM_STRING).kind, WmiValue::Kind::Null);
}

namespace {

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

// How many threads this process has.
int Threads() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snap, &entry); more; more = Thread32Next(snap, &entry))
    count += entry.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snap);
  return count;
}

// How many handles this process holds, from the system's handle table (Wine's
// GetProcessHandleCount always says 0).
int Handles() {
  struct Entry {
    ULONG process;
    BYTE type, flags;
    USHORT handle;
    void* object;
    ACCESS_MASK access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  static const LateBound<Query> query(L"ntdll.dll", "NtQuerySystemInformation");
  constexpr ULONG kHandleInformation = 16;
  constexpr LONG kTooSmall = static_cast<LONG>(0xC0000004);
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &length)) == kTooSmall)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  const auto* table = reinterpret_cast<const Table*>(buffer.data());
  int count = 0;
  for (ULONG i = 0; i < table->count; ++i)
    count += table->entries[i].process == GetCurrentProcessId();
  return count;
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
  // Processes window events for `seconds`.
  void Pass(double seconds) {
    const double start = clock.monotonicSeconds();
    while (Since(start) < seconds) pump.waitEvents(seconds - Since(start));
  }
  // Waits (processing events) until the condition holds, for at most `seconds`.
  template <typename Condition>
  bool Within(double seconds, Condition condition) {
    const double start = clock.monotonicSeconds();
    while (!condition()) {
      if (Since(start) > seconds) return false;
      pump.waitEvents(0.01);
    }
    return true;
  }

  StallPlan& plan =
      *new StallPlan{kStallNowhere, INFINITE, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  volatile LONG locators = 0;
  MessagePump pump;
  Win32Clock clock;
  Deadlines deadlines{clock};
  ComManagement management{pump, deadlines, Locator(), kTiming};
};

}  // namespace

TEST_F(Stalling, AHungStepCostsItsDeadlineAndGraceOnceWhileWindowEventsGoOn) {
  const struct {
    StallStep step;
    bool bound, queried, failed;
  } steps[] = {{kStallConnect, false, false, false},
               {kStallQuery, true, false, false},
               {kStallNext, true, true, true},
               {kStallGet, true, true, true}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    ResetEvent(plan.release);
    ComManagement service(pump, deadlines, Locator(), kTiming);
    plan.step = s.step;
    locators = 0;
    g_handled = 0;
    Post();
    const double start = clock.monotonicSeconds();
    Walk walk;
    bool unanswered = false;
    {
      Work work(deadlines, 0.1);
      walk = WalkAll(service);
      unanswered = service.unanswered();
    }
    EXPECT_GE(Since(start), 0.19);  // the deadline and the grace after it
    EXPECT_LT(Since(start), 1.5);
    EXPECT_EQ(walk.bound, s.bound);
    EXPECT_EQ(walk.queried, s.queried);
    EXPECT_TRUE(walk.names.empty());
    EXPECT_EQ(walk.failed, s.failed);
    EXPECT_TRUE(unanswered);
    EXPECT_EQ(g_handled, 1);  // the window's events went on during the wait
    // The service that stalled is left alone: the next call fails at once.
    EXPECT_TRUE(service.stalled());
    const double again = clock.monotonicSeconds();
    EXPECT_FALSE(service.connect(wmi::kLocalCimV2));
    EXPECT_LT(Since(again), 0.1);
    // After the retry time it is still not asked while the call it hung still hangs.
    Pass(0.25);
    plan.step = kStallNowhere;
    EXPECT_FALSE(service.connect(wmi::kLocalCimV2));
    EXPECT_EQ(locators, 1);
    // Once that call has come back, the service is asked again and answers.
    SetEvent(plan.release);
    Walk retry;
    EXPECT_TRUE(Within(2.0, [&] {
      retry = WalkAll(service);
      return retry.bound;
    }));
    EXPECT_EQ(retry.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
    EXPECT_FALSE(retry.failed);
    EXPECT_EQ(locators, 2);
  }
}

TEST_F(Stalling, TheIdentificationObjectGivesTheVersionTheWindowsPanelShows) {
  // The single object read: its own namespace, the object by path, its property; outside any
  // fill, so a slow answer (0.3 s) has the whole deadline of a call.
  plan = StallPlan{kStallGet, 300, plan.release};
  fakes::FakeView view;
  Windows::ShowWmiStatus(management, view);
  EXPECT_EQ(view.text(field::kWmiVersion), Narrow(kStandInVersion));
  EXPECT_EQ(view.text(field::kWmiInstalled), Windows::kWmiInstalled);
  EXPECT_FALSE(management.getObject("winmgmts:root\\default:Win32_Nothing=@"));
}

TEST_F(Stalling, ASlowAnswerEndsAtTheServicesOwnTimeoutAndTheServiceStaysInUse) {
  // Each next object takes 2 s, beyond the deadline: the service's own wait ends the margin
  // (0.2 s) before it, the walk fails, and nothing stalls: the next walk is asked at once.
  plan = StallPlan{kStallNext, 2000, plan.release};
  ComManagement management(pump, deadlines, Locator(), ServiceTiming{5.0, 0.2, 0.5, 0.2});
  const double start = clock.monotonicSeconds();
  Walk walk;
  bool unanswered = false;
  {
    Work work(deadlines, 0.6);
    walk = WalkAll(management);
    unanswered = management.unanswered();
  }
  EXPECT_GE(Since(start), 0.39);
  EXPECT_LT(Since(start), 0.6);  // before the deadline, long before the window gives up
  EXPECT_TRUE(walk.queried);
  EXPECT_TRUE(walk.failed);
  EXPECT_TRUE(unanswered);
  EXPECT_FALSE(management.stalled());
  plan.step = kStallNowhere;
  Work work(deadlines, 0.6);
  EXPECT_EQ(WalkAll(management).names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
  EXPECT_FALSE(management.unanswered());
}

TEST_F(Stalling, SlowStepsWithinTheDeadlineDeliverEverything) {
  // Each answer takes longer than a tenth of the deadline left: the wait for it is the whole of it.
  plan = StallPlan{kStallNext, 150, plan.release};
  Post();
  const double start = clock.monotonicSeconds();
  Work work(deadlines, 1.0);
  const Walk walk = WalkAll(management);
  EXPECT_GE(Since(start), 0.44);  // three answers of 150 ms, the last one the end
  EXPECT_EQ(walk.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
  EXPECT_FALSE(walk.failed);
  EXPECT_EQ(g_handled, 1);
  EXPECT_FALSE(management.stalled());
  EXPECT_FALSE(management.unanswered());
}

TEST_F(Stalling, TimeTakenByHandlersDuringAWaitIsNotTheWaitingWorks) {
  // The connection takes 0.3 s of a 0.5 s deadline; meanwhile a click runs a handler for 0.8 s
  // (a report, a message box), beyond the deadline and its grace. The wait is not cut short by
  // that: everything is delivered.
  plan = StallPlan{kStallConnect, 300, plan.release};
  Post([&] { Pass(0.8); });
  const double start = clock.monotonicSeconds();
  Work work(deadlines, 0.5);
  const Walk walk = WalkAll(management);
  EXPECT_GE(Since(start), 0.8);
  EXPECT_EQ(walk.names, (std::vector<std::string>{"Stand-in 1", "Stand-in 2"}));
  EXPECT_FALSE(management.stalled());
  EXPECT_FALSE(management.unanswered());
}

TEST_F(Stalling, AStallInANestedWorkEndsTheOuterWaitToo) {
  // The outer call hangs; a click taken meanwhile starts a fill of its own, which waits behind
  // the hung call until its own deadline and then gives the service up: the outer wait ends then
  // too, long before its own deadline.
  plan.step = kStallConnect;
  Walk inner;
  Post([&] {
    Work work(deadlines, 0.1);
    inner = WalkAll(management);
  });
  const double start = clock.monotonicSeconds();
  Work work(deadlines, 5.0);
  const Walk outer = WalkAll(management);
  EXPECT_LT(Since(start), 1.5);
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

TEST_F(Stalling, AServiceThatStalledIsLeftAloneForTheRetryTimeThoughItsCallCameBack) {
  // Given up 0.2 s in; the hung call comes back at once, but the service is asked again only
  // once the retry time (0.6 s) has passed.
  ComManagement management(pump, deadlines, Locator(), ServiceTiming{5.0, 0.05, 0.1, 0.6});
  plan.step = kStallConnect;
  {
    Work work(deadlines, 0.1);
    EXPECT_FALSE(WalkAll(management).bound);
  }
  const double stalled = clock.monotonicSeconds();
  plan.step = kStallNowhere;
  SetEvent(plan.release);
  Pass(0.3);
  EXPECT_FALSE(management.connect(wmi::kLocalCimV2));
  EXPECT_EQ(locators, 1);
  EXPECT_TRUE(Within(2.0, [&] { return management.connect(wmi::kLocalCimV2) != nullptr; }));
  EXPECT_GE(Since(stalled), 0.55);
  EXPECT_EQ(locators, 2);
}

TEST_F(Stalling, ThirtyStallsCostAtMostOneThreadAndNoHandles) {
  // Fifteen stalls whose call comes back later (the service recovers each time), then fifteen
  // of a service that stays hung: at no time more than the one thread the hang holds.
  ComManagement management(pump, deadlines, Locator(), ServiceTiming{5.0, 0.01, 0.02, 0.02});
  // What the system keeps once the service has been used and a hang has come back (COM's own
  // threads) is the base.
  plan.step = kStallQuery;
  ResetEvent(plan.release);
  {
    Work work(deadlines, 0.03);
    EXPECT_FALSE(WalkAll(management).queried);
  }
  SetEvent(plan.release);
  Pass(0.3);
  const int threads = Threads();
  const int handles = Handles();
  int most = 0;
  // (No SCOPED_TRACE here: GoogleTest starts a thread of its own for it.)
  for (int cycle = 0; cycle < 30; ++cycle) {
    if (cycle < 15) ResetEvent(plan.release);
    {
      Work work(deadlines, 0.02);
      EXPECT_FALSE(WalkAll(management).queried) << cycle;
    }
    most = std::max(most, Threads() - threads);
    Pass(0.03);  // the retry time
    if (cycle < 14) {
      SetEvent(plan.release);  // the hung call comes back; its thread ends
      EXPECT_TRUE(Within(2.0, [&] { return Threads() <= threads; })) << cycle;
    }
  }
  EXPECT_LE(most, 1);
  EXPECT_EQ(locators, 16);  // asked while it recovered, then never again while hung
  // The one hung thread holds its own handle, its wake event and its call's event.
  std::printf(
      "[ counts   ] 30 stalls: at most %d thread beyond the %d before; handles %d before, "
      "%d after\n",
      most, threads, handles, Handles());
  EXPECT_GT(handles, 0);
  EXPECT_LE(Handles(), handles + 3);
}
