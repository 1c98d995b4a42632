#include "collectors/cpu.h"

#include <gtest/gtest.h>

#include "fakes/fake_bundle.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using fakes::Properties;
using ids::Text5;

namespace {

constexpr const char* kCimV2 = "winmgmts:\\\\.\\root\\cimv2";
constexpr const char* kQuery = "Select * from Win32_Processor";

Properties Processor(const char* name, int64_t l2) {
  return {{"Name", WmiValue::Text(name)},
          {"Description", WmiValue::Text("x86 Family 6 Model 15 Stepping 6")},
          {"Revision", WmiValue::Integer(3846)},
          {"L2CacheSize", WmiValue::Integer(l2)},
          {"L2CacheSpeed", WmiValue::Null()},
          {"ExtClock", WmiValue::Integer(133)},
          {"MaxClockSpeed", WmiValue::Integer(2400)},
          {"VoltageCaps", WmiValue::Integer(2)}};
}

struct CpuTest : testing::Test {
  void Fill(std::vector<Properties> processors) {
    fakes::FakeManagement management;
    management.addResult(kCimV2, kQuery, {std::move(processors)});
    CPU::ReadProcessorInfo(management, machine, view);
  }
  fakes::FakeMachine machine;
  fakes::FakeView view;
};

}  // namespace

TEST(ProcessorTypes, TableRowsUnlistedCodesAndTheCountOfAllGroupsWhereKnown) {
  const std::pair<uint32_t, const char*> rows[] = {
      {386, "80x386"},        {486, "80x486"},      {586, "80x586"},      {686, "80x686"},
      {860, "Intel 860"},     {2000, "MIPS R2000"}, {3000, "MIPS R3000"}, {4000, "MIPS R4000"},
      {21064, "ALPHA 21064"}, {601, "PPC 601"},     {603, "PPC 603"},     {604, "PPC 604"},
      {620, "PPC 620"},
  };
  for (const auto& [code, text] : rows) EXPECT_EQ(CPU::ProcessorTypeText(code), text);
  for (uint32_t code : {0u, 8664u, 2200u, 387u, 21066u}) EXPECT_FALSE(CPU::ProcessorTypeText(code));
  EXPECT_EQ(CPU::ProcessorCount({8, 586, std::nullopt}), 8u);
  EXPECT_EQ(CPU::ProcessorCount({64, 8664, 128}), 128u);
}

TEST_F(CpuTest, TwoProcessorsTheLastOneStandsWithItsSuffixes) {
  machine.processor = {2, 586, std::nullopt};
  Fill({Processor("Erster", 256), Processor("Intel(R) Core(TM)2 CPU 6600", 512)});
  EXPECT_EQ(machine.processorCalls, 2);  // the system information is read per object
  // The last object's rows; a null shows the suffix alone.
  EXPECT_EQ(
      std::vector<std::string>(view.log.end() - 10, view.log.end()),
      (std::vector<std::string>{
          "text Text5(9)=2", "text Text5(10)=80x586", "text Text5(0)=Intel(R) Core(TM)2 CPU 6600",
          "text Text5(1)=x86 Family 6 Model 15 Stepping 6", "text Text5(2)=3846",
          "text Text5(3)=512      KByte", "text Text5(4)=     MHz", "text Text5(5)=133     MHz",
          "text Text5(6)=2400    MHz", "text Text5(7)=2 V."}));
  EXPECT_EQ(view.log.size(), 20u);
}

TEST_F(CpuTest, UnlistedTypeKeepsTheTextOfTheCallAndMissingValuesKeepTheirRows) {
  machine.processor = {4, 8664, std::nullopt};
  Properties wine{{"Name", WmiValue::Text("Wine CPU")},
                  {"Revision", WmiValue::Null()},
                  {"MaxClockSpeed", WmiValue::Integer(2299)}};
  Fill({wine});
  EXPECT_EQ(view.text(Text5(10)), "");  // empty on the first object
  EXPECT_EQ(view.text(Text5(9)), "4");
  EXPECT_EQ(view.text(Text5(0)), "Wine CPU");
  EXPECT_EQ(view.text(Text5(1)), "N/A");  // not delivered
  EXPECT_EQ(view.text(Text5(2)), "N/A");  // null cannot stand alone in a field
  EXPECT_EQ(view.text(Text5(3)), "N/A");
  EXPECT_EQ(view.text(Text5(6)), "2299    MHz");

  // A listed type on the first object stays for an unlisted one after it.
  struct Switching : fakes::FakeMachine {
    ProcessorFacts processorFacts() override {
      return {1, ++processorCalls == 1 ? 486u : 8664u, std::nullopt};
    }
  } switching;
  fakes::FakeManagement management;
  management.addResult(kCimV2, kQuery, {{wine, wine}});
  CPU::ReadProcessorInfo(management, switching, view);
  EXPECT_EQ(switching.processorCalls, 2);
  EXPECT_EQ(view.text(Text5(10)), "80x486");
}

TEST_F(CpuTest, NoObjectOrNoServiceWritesNothing) {
  Fill({});
  fakes::FakeManagement none;
  CPU::ReadProcessorInfo(none, machine, view);
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(machine.processorCalls, 0);
}
