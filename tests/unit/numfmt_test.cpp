#include "text/numfmt.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velkaro::numfmt;

namespace {

const NumberSettings kDe = NumberSettings::German();
const NumberSettings kEn = NumberSettings::English();

struct Case {
  double value;
  const char* german;
  const char* english;
};

}  // namespace

TEST(NumberFormat, GeneralKeepsFifteenDigitsWithoutGroupingOrTrailingZeros) {
  const Case cases[] = {
      {1024, "1024", "1024"},
      {1.5, "1,5", "1.5"},
      {0, "0", "0"},
      {-2.25, "-2,25", "-2.25"},
      {1.0 / 3.0, "0,333333333333333", "0.333333333333333"},
      {24.0 * 1024 * 1024, "25165824", "25165824"},
      {123456789.0009765625, "123456789,000977", "123456789.000977"},
      {1.8e16, "1,8E+16", "1.8E+16"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(General(c.value, kDe), c.german) << c.value;
    EXPECT_EQ(General(c.value, kEn), c.english) << c.value;
  }
}

TEST(NumberFormat, PatternsShowOptionalAndFixedDigits) {
  struct P {
    double value;
    const char* pattern;
    const char* german;
  } cases[] = {
      {100, "###", "100"},    {57, "###", "57"},       {0, "###", ""},
      {0.4, "###", ""},       {2.5, "###", "2"},       {3.5, "###", "4"},
      {1.5, "#0.0", "1,5"},   {0, "#0.0", "0,0"},      {-1.0 / 3600, "#0.0", "0,0"},
      {-1.5, "#0.0", "-1,5"}, {12.25, "#0.0", "12,2"}, {7, "##00", "07"},
      {59, "##00", "59"},     {0, "##00", "00"},       {123, "##00", "123"},
  };
  for (const P& c : cases) EXPECT_EQ(Pattern(c.value, c.pattern, kDe), c.german) << c.value;
  EXPECT_EQ(Pattern(1.5, "#0.0", kEn), "1.5");
}

TEST(NumberFormat, GroupedWholeNumbersFollowTheLocaleGroupingText) {
  EXPECT_EQ(Grouped(1024, kDe), "1.024");
  EXPECT_EQ(Grouped(1024, kEn), "1,024");
  EXPECT_EQ(Grouped(0.9765625, kDe), "1");
  EXPECT_EQ(Grouped(0, kDe), "0");
  EXPECT_EQ(Grouped(1234567890123.0, kDe), "1.234.567.890.123");
  EXPECT_EQ(Grouped(999.5, kDe), "1.000");  // a half goes to the even neighbour
  EXPECT_EQ(Grouped(998.5, kDe), "998");
  EXPECT_EQ(Grouped(-1234, kDe), "-1.234");
  NumberSettings indian = kEn;
  indian.grouping = ParseGrouping("3;2;0");
  EXPECT_EQ(Grouped(1234567890, indian), "1,23,45,67,890");
  NumberSettings once = kEn;
  once.grouping = ParseGrouping("3");
  EXPECT_EQ(Grouped(1234567890, once), "1234567,890");
  NumberSettings none = kEn;
  none.grouping = ParseGrouping("0;0");
  EXPECT_EQ(Grouped(1234567, none), "1234567");
  NumberSettings brackets = kEn;
  brackets.negativeOrder = 0;
  EXPECT_EQ(Grouped(-5, brackets), "(5)");
  EXPECT_EQ(ParseGrouping("3;0"), (std::vector<int>{3}));
  EXPECT_EQ(ParseGrouping("3;2;0"), (std::vector<int>{3, 2}));
  EXPECT_EQ(ParseGrouping("3"), (std::vector<int>{3, 0}));
  EXPECT_EQ(ParseGrouping(""), (std::vector<int>{}));
}
