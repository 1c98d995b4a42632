// The calls the program makes on threads of its own, against the real threads: a job that
// throws, a port whose open blocks.
#include <windows.h>

#include <memory>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/fields.h"
#include "collectors/netzwerk.h"
#include "fakes/fake_view.h"
#include "win32/devices_win32.h"
#include "win32/message_pump.h"
#include "win32/service_calls.h"
#include "win32/system_win32.h"
#include "waits.h"

using namespace velkaro;
using namespace velkaro::win32;

TEST(ServiceCalls, AJobThatThrowsIsAFailedCallAndTheThreadGoesOn) {
  MessagePump pump;
  Win32Clock clock;
  Deadlines deadlines{clock};
  ServiceCalls calls(pump, deadlines, kTiming);
  EXPECT_EQ(calls.call<int>(calls.thread(), []() -> int { throw std::bad_alloc(); }), std::nullopt);
  EXPECT_EQ(calls.call<int>(calls.thread(), [] { return 42; }), 42);
  EXPECT_FALSE(calls.stalled());
}

TEST(ServiceCalls, APortWhoseOpenBlocksCostsTheFillItsDeadlineWhileTheWindowAnswers) {
  // COM3 is a Bluetooth port whose device is out of reach: its open blocks for 30 s. The others
  // open at once. The probe of all four ends with the fill's deadline and the grace; the window's
  // events go on meanwhile; the ports after the blocked one are not asked.
  MessagePump pump;
  Win32Clock clock;
  Deadlines deadlines{clock};
  ServiceCalls ports(pump, deadlines, kTiming);
  HANDLE unblock = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  // Kept beyond the test: the blocked open comes back after it.
  auto opened = std::make_shared<std::vector<std::wstring>>();
  Win32Devices devices(&ports, nullptr, [unblock, opened](const std::wstring& name, PortAccess) {
    if (name == L"COM3") WaitForSingleObject(unblock, 30000);
    opened->push_back(name);
    return true;
  });
  fakes::FakeView view;
  g_handled = 0;
  Post();
  const double start = clock.monotonicSeconds();
  {
    Work work(deadlines, 0.1);
    Netzwerk::ProbePorts(devices, view);
  }
  const double took = clock.monotonicSeconds() - start;
  EXPECT_GE(took, 0.19);
  EXPECT_LT(took, 1.5);
  EXPECT_EQ(g_handled, 1);
  EXPECT_EQ(view.text(ids::Text1(30)), Netzwerk::kPortReady);
  EXPECT_EQ(view.text(ids::Text1(31)), Netzwerk::kPortReady);
  EXPECT_EQ(view.text(ids::Text1(35)), Netzwerk::kPortNotReady);
  EXPECT_EQ(view.text(ids::Text1(32)), Netzwerk::kPortNotReady);
  EXPECT_EQ(*opened, (std::vector<std::wstring>{L"COM1", L"COM2"}));
  SetEvent(unblock);
}
