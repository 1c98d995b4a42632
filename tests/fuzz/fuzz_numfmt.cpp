// The number formats on arbitrary doubles, patterns and locale settings.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/numfmt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkaro::numfmt;
  if (size < 10) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const uint8_t flags = data[8];
  const std::string rest(reinterpret_cast<const char*>(data + 9), size - 9);
  NumberSettings settings = (flags & 1) ? NumberSettings::German() : NumberSettings::English();
  settings.negativeOrder = (flags >> 1) % 5;
  settings.leadingZero = flags & 0x10;
  const size_t bar = rest.find('|');
  if (bar != std::string::npos) settings.grouping = ParseGrouping(rest.substr(bar + 1));

  const std::string general = General(value, settings);
  if (std::isfinite(value) && general.empty()) std::abort();
  if (general.size() > 32) std::abort();  // 15 digits, sign, separator, exponent

  // Patterns of the program's kind: "#", "0" and one ".".
  std::string pattern;
  for (const char c : rest.substr(0, std::min<size_t>(bar, 12)))
    pattern += "#0."[static_cast<uint8_t>(c) % 3];
  if (std::isfinite(value) && std::fabs(value) < 1e15) {
    const std::string patterned = Pattern(value, pattern, settings);
    if (patterned.size() > 64) std::abort();
    const std::string grouped = Grouped(value, settings);
    if (grouped.empty() || grouped.size() > 40) std::abort();
    for (const char c : grouped)
      if (!(c >= '0' && c <= '9') && settings.group.find(c) == std::string::npos &&
          std::string("-() ").find(c) == std::string::npos)
        std::abort();
  }
  return 0;
}
