#include "platform/management.h"

#include <gtest/gtest.h>

#include "collectors/wmi_regimes.h"
#include "fakes/fake_management.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using namespace velkaro::ids;
using fakes::FakeManagement;
using fakes::FakeView;
using fakes::Properties;
using fakes::ScriptedResult;

TEST(WmiValueText, FieldsShowTextNumbersAndTruthValuesSuffixesTakeNullAsEmptyArraysJoin) {
  EXPECT_EQ(FieldText(WmiValue::Text("Intel")), "Intel");
  EXPECT_EQ(FieldText(WmiValue::Integer(4294967295LL)), "4294967295");
  EXPECT_EQ(FieldText(WmiValue::Integer(-5)), "-5");
  EXPECT_EQ(FieldText(WmiValue::Real(2.5)), "2.5");
  EXPECT_EQ(FieldText(WmiValue::Boolean(true)), "True");
  EXPECT_EQ(FieldText(WmiValue::Null()), std::nullopt);
  EXPECT_EQ(FieldText(WmiValue::Array({WmiValue::Text("a")})), std::nullopt);
  EXPECT_EQ(WithSuffix(WmiValue::Integer(512), "      KByte"), "512      KByte");
  EXPECT_EQ(WithSuffix(WmiValue::Null(), "     MHz"), "     MHz");
  EXPECT_EQ(WithSuffix(WmiValue::Array({}), " V."), std::nullopt);
  const auto ips = WmiValue::Array({WmiValue::Text("10.0.0.2"), WmiValue::Text("fe80::1")});
  EXPECT_EQ(JoinArray(ips, " "), "10.0.0.2 fe80::1");
  EXPECT_EQ(JoinArray(WmiValue::Array({}), " "), "");
  EXPECT_EQ(JoinArray(WmiValue::Text("x"), " "), std::nullopt);
  EXPECT_EQ(JoinArray(WmiValue::Null(), " "), std::nullopt);
  EXPECT_EQ(JoinArray(WmiValue::Array({WmiValue::Null()}), " "), std::nullopt);
}

TEST(WmiMonikers, KeepTheirMeaning) {
  const struct {
    const char *moniker, *server, *nameSpace, *objectPath;
  } cases[] = {
      {"winmgmts:", ".", "root\\cimv2", ""},
      {"winmgmts:\\\\.\\root\\cimv2", ".", "root\\cimv2", ""},
      {"winmgmts:root\\default:__cimomidentification=@", ".", "root\\default",
       "__cimomidentification=@"},
      {"WinMgmts:{impersonationLevel=impersonate}!\\\\host\\root\\wmi", "host", "root\\wmi", ""}};
  for (const auto& c : cases) {
    const auto parsed = ParseWmiMoniker(c.moniker);
    ASSERT_TRUE(parsed) << c.moniker;
    EXPECT_EQ(parsed->server, c.server) << c.moniker;
    EXPECT_EQ(parsed->nameSpace, c.nameSpace) << c.moniker;
    EXPECT_EQ(parsed->objectPath, c.objectPath) << c.moniker;
  }
  for (const char* bad :
       {"wmi:root\\cimv2", "winmgmts:{unclosed", "winmgmts:root\\default:", "winmgmts:\\\\\\root"})
    EXPECT_FALSE(ParseWmiMoniker(bad)) << bad;
}

namespace {

constexpr const char* kQuery = "Select * from Win32_Test";

struct RegimeTest : testing::Test {
  // Two objects; the first lacks "B", the second has all of them.
  void Script(int failAfter = -1) {
    mgmt.addResult(
        wmi::kLocalCimV2, kQuery,
        ScriptedResult{{Properties{{"A", WmiValue::Text("a1")}, {"C", WmiValue::Text("c1")}},
                        Properties{{"A", WmiValue::Text("a2")},
                                   {"B", WmiValue::Text("b2")},
                                   {"C", WmiValue::Text("c2")}}},
                       failAfter});
  }
  wmi::Body WriteABC() {
    return [this](wmi::Row& row) {
      ++rows;
      row.set(Text1(0), row.text("A"));
      row.set(Text1(1), row.text("B"));
      row.set(Text1(2), row.text("C"));
    };
  }
  FakeManagement mgmt;
  FakeView view;
  int rows = 0;
};

}  // namespace

TEST_F(RegimeTest, SkipAllDropsOnlyTheFailingStepAndTheWalkCanEndEarly) {
  Script();
  wmi::SkipAll(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC());
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(view.text(Text1(0)), "a2");  // the last object stands
  EXPECT_EQ(view.text(Text1(1)), "b2");
  EXPECT_EQ(view.text(Text1(2)), "c2");
  ASSERT_EQ(mgmt.queries.size(), 1u);
  EXPECT_EQ(mgmt.queries[0].flags, 48);
  // The walk can end after the first object.
  rows = 0;
  wmi::SkipAll(mgmt, view, {wmi::kLocalCimV2, kQuery}, [this](wmi::Row& row) {
    ++rows;
    row.set(Text1(0), row.text("A"));
    row.stopWalk();
  });
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(view.text(Text1(0)), "a1");
}

TEST_F(RegimeTest, SkipAllWithoutServiceOrWithFailedQueryChangesNothing) {
  wmi::SkipAll(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC());
  mgmt.addNamespace(wmi::kLocalCimV2);
  wmi::SkipAll(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC());
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(view.text(Text1(0)), "N/A");
  EXPECT_EQ(mgmt.connects.size(), 2u);
}

TEST_F(RegimeTest, SkipFromWalkReportsBindingAndQueryAndSkipsStepsInTheWalk) {
  EXPECT_FALSE(wmi::SkipFromWalk(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC()));
  Script();
  EXPECT_TRUE(wmi::SkipFromWalk(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC()));
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(view.text(Text1(2)), "c2");
}

TEST_F(RegimeTest, AWalkThatFailsMidwayKeepsWhatWasWritten) {
  Script(/*failAfter=*/1);
  wmi::SkipAll(mgmt, view, {wmi::kLocalCimV2, kQuery}, WriteABC());
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(view.text(Text1(0)), "a1");
  EXPECT_EQ(view.text(Text1(1)), "N/A");
}
