// The management service through COM, against Wine's or Windows' own service.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "collectors/windows.h"
#include "collectors/wmi_regimes.h"
#include "text/text.h"
#include "win32/wmi_win32.h"

using namespace velkaro;
using namespace velkaro::win32;

namespace {

class Wmi : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }
  ComManagement management;
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

// A result whose service never delivers: Next waits out the time it is given (never more than
// a second here, so that an unbounded wait shows as a wrong timeout, not as a hung test) and
// answers with `answer`.
class StalledObjects : public IEnumWbemClassObject {
 public:
  explicit StalledObjects(HRESULT answer) : answer_(answer) {}
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE Next(long timeout, ULONG, IWbemClassObject** objects,
                                 ULONG* returned) override {
    ++calls;
    waitedFor = timeout;
    Sleep(timeout < 0 || timeout > 1000 ? 1000 : static_cast<DWORD>(timeout));
    *objects = nullptr;
    *returned = 0;
    return answer_;
  }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Skip(long, ULONG) override { return E_NOTIMPL; }

  ULONG refs = 1;
  int calls = 0;
  long waitedFor = 0;

 private:
  HRESULT answer_;
};

}  // namespace

TEST(WmiObjectSet, AServiceThatNeverAnswersEndsTheWalkAfterTheBoundedWait) {
  // A wait that runs out and a failed call end the walk as failed; an empty result does not.
  const struct {
    HRESULT answer;
    bool failed;
  } cases[] = {{WBEM_S_TIMEDOUT, true}, {HRESULT(WBEM_E_FAILED), true}, {WBEM_S_FALSE, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    StalledObjects objects(c.answer);
    const DWORD start = GetTickCount();
    {
      const auto set = WrapObjectSet(&objects, 50);
      EXPECT_FALSE(set->next());
      EXPECT_FALSE(set->next());  // ended: the service is not asked again
      EXPECT_EQ(set->failed(), c.failed);
    }
    EXPECT_LT(GetTickCount() - start, 500u);
    EXPECT_EQ(objects.calls, 1);
    EXPECT_EQ(objects.waitedFor, 50);
    EXPECT_EQ(objects.refs, 0u);  // the reference taken over is given back
  }
}
