#include "text/numfmt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velkaro::numfmt {

namespace {

// Digits of a non-negative whole number (at most 2^64 or so; beyond, an exact decimal of the
// double is still produced).
std::string WholeDigits(double whole) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", whole);
  return buffer;
}

std::string GroupDigits(const std::string& digits, const NumberSettings& s) {
  if (s.grouping.empty() || s.grouping.front() <= 0) return digits;
  std::string out;
  size_t end = digits.size();
  size_t g = 0;
  int size = s.grouping.front();
  while (end > static_cast<size_t>(size) && size > 0) {
    out.insert(0, s.group + digits.substr(end - size, size));
    end -= size;
    if (g + 1 < s.grouping.size()) {
      ++g;
      if (s.grouping[g] == 0) break;  // no more groups
      size = s.grouping[g];
    }
  }
  return digits.substr(0, end) + out;
}

std::string Negative(const std::string& number, const NumberSettings& s) {
  switch (s.negativeOrder) {
    case 0:
      return "(" + number + ")";
    case 2:
      return "- " + number;
    case 3:
      return number + "-";
    case 4:
      return number + " -";
    default:
      return "-" + number;
  }
}

}  // namespace

NumberSettings NumberSettings::German() {
  return {",", ".", {3}, true, 1};
}

NumberSettings NumberSettings::English() {
  return {".", ",", {3}, true, 1};
}

std::vector<int> ParseGrouping(std::string_view text) {
  std::vector<int> sizes;
  size_t i = 0;
  while (i < text.size()) {
    const size_t semi = text.find(';', i);
    const std::string part(text.substr(i, semi == std::string_view::npos ? text.npos : semi - i));
    sizes.push_back(std::atoi(part.c_str()));
    if (semi == std::string_view::npos) break;
    i = semi + 1;
  }
  // A closing 0 repeats the last size; without it grouping stops after the listed sizes.
  if (!sizes.empty() && sizes.back() == 0)
    sizes.pop_back();
  else if (!sizes.empty())
    sizes.push_back(0);
  return sizes;
}

std::string General(double value, const NumberSettings& s) {
  if (std::isnan(value) || std::isinf(value)) return value < 0 ? "-" : "";
  if (value == 0) return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string out;
  for (const char* p = buffer; *p; ++p) {
    if (*p == '.')
      out += s.decimal;
    else
      out += *p;
  }
  // "%G" drops trailing zeros of the fraction already; it writes two exponent digits or more.
  return out;
}

std::string Pattern(double value, std::string_view pattern, const NumberSettings& s) {
  const size_t point = pattern.find('.');
  const std::string_view intPart = pattern.substr(0, point);
  const std::string_view fracPart =
      point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
  int minInt = 0;
  for (const char c : intPart) minInt += c == '0';
  const int places = static_cast<int>(fracPart.size());
  int minFrac = 0;
  for (const char c : fracPart) minFrac += c == '0';

  const double scale = std::pow(10.0, places);
  const double scaled = std::nearbyint(std::fabs(value) * scale);  // half to even
  std::string digits = WholeDigits(scaled);
  if (static_cast<int>(digits.size()) <= places)
    digits.insert(0, static_cast<size_t>(places) - digits.size() + 1, '0');
  std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(places));
  std::string frac = digits.substr(digits.size() - static_cast<size_t>(places));
  while (static_cast<int>(frac.size()) > minFrac && !frac.empty() && frac.back() == '0')
    frac.pop_back();
  // Leading zeros of the whole part are shown only as far as the pattern's "0" digits ask.
  size_t firstSignificant = whole.find_first_not_of('0');
  if (firstSignificant == std::string::npos) firstSignificant = whole.size();
  std::string shown = whole.substr(firstSignificant);
  if (static_cast<int>(shown.size()) < minInt)
    shown.insert(0, static_cast<size_t>(minInt) - shown.size(), '0');
  std::string out = shown;
  if (!frac.empty()) out += s.decimal + frac;
  if (value < 0 && scaled != 0) out = "-" + out;
  return out;
}

std::string Grouped(double value, const NumberSettings& s) {
  const double rounded = std::nearbyint(value);
  const std::string number = GroupDigits(WholeDigits(std::fabs(rounded)), s);
  return rounded < 0 ? Negative(number, s) : number;
}

}  // namespace velkaro::numfmt
