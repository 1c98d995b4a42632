// Numbers as the user's regional settings show them: the general number format, the patterns
// "###", "#0.0" and "##00", and grouped whole numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkaro::numfmt {

// The user's number settings, as the platform's locale gives them.
struct NumberSettings {
  std::string decimal = ".";     // decimal separator
  std::string group = ",";       // digit-group separator
  std::vector<int> grouping{3};  // group sizes from the right; the last one repeats, 0 ends
  bool leadingZero = true;       // "0,5" rather than ",5"
  int negativeOrder = 1;         // 0 "(1)", 1 "-1", 2 "- 1", 3 "1-", 4 "1 -"

  static NumberSettings German();
  static NumberSettings English();
};

// Group sizes from the locale's grouping text ("3;0" -> {3}, "3;2;0" -> {3, 2},
// "3" -> {3, 0}: groups once, then no more).
std::vector<int> ParseGrouping(std::string_view text);

// Up to 15 significant digits, the user's decimal separator, no grouping, no trailing zeros,
// no separator for a whole number. Very large or small magnitudes use an exponent ("1,5E+20").
std::string General(double value, const NumberSettings& settings);

// A pattern of "#" (a digit shown only when significant), "0" (a digit always shown) and "."
// (the decimal separator). The value is rounded to the pattern's places, a half to the even
// neighbour. "###" shows nothing for zero; "#0.0" shows 1.5 as "1,5" (German); "##00" shows 7
// as "07". A minus sign stands before a negative value that does not round to zero.
std::string Pattern(double value, std::string_view pattern, const NumberSettings& settings);

// The value rounded to a whole number (a half to the even neighbour), its digits grouped by the
// user's settings, the negative form by the user's order.
std::string Grouped(double value, const NumberSettings& settings);

}  // namespace velkaro::numfmt
