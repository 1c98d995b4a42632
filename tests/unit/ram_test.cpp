#include "collectors/ram.h"

#include <gtest/gtest.h>

#include "fakes/fake_machine.h"
#include "fakes/fake_view.h"

using namespace velkaro;
using ids::Text1;

TEST(Ram, KilobyteTexts) {
  const auto de = numfmt::NumberSettings::German();
  EXPECT_EQ(ram::KilobyteText(1024 * 1024, de), "1024 KB.");
  EXPECT_EQ(ram::KilobyteText(1536, de), "1,5 KB.");
  EXPECT_EQ(ram::KilobyteText(1536, numfmt::NumberSettings::English()), "1.5 KB.");
  EXPECT_EQ(ram::KilobyteText(0, de), "0 KB.");
  EXPECT_EQ(ram::KilobyteText(1000, de), "0,9765625 KB.");
  // 24 GiB and more stay positive: the full 64-bit counts are read.
  EXPECT_EQ(ram::KilobyteText(24ull << 30, de), "25165824 KB.");
  EXPECT_EQ(ram::KilobyteText(0xFFFFFFFFull, de), "4194303,99902344 KB.");
}

TEST(Ram, FillWritesTheSevenFieldsEachFromItsOwnStatusCall) {
  fakes::FakeMachine machine;
  machine.memory = {7, 24ull << 30, 3ull << 30, 40ull << 30, 20ull << 30, 128ull << 40, 1536};
  fakes::FakeView view;
  ram::Fill(machine, view);
  EXPECT_EQ(view.log,
            (std::vector<std::string>{"text Text1(52)=25165824 KB.", "text Text1(53)=3145728 KB.",
                                      "text Text1(54)=137438953472 KB.", "text Text1(55)=1,5 KB.",
                                      "text Text1(56)=41943040 KB.", "text Text1(57)=20971520 KB.",
                                      "text Text1(58)=7 %"}));
  EXPECT_EQ(machine.memoryCalls, 7);
  machine.memory.memoryLoad = 100;
  EXPECT_EQ(ram::MemoryLoadText(machine), "100 %");
}
