// libFuzzer target of the portable core's parsers and formats on arbitrary input. The first byte
// picks the part: the DirectX dump, registry values and paths, the number formats, management
// values. Each must never crash, and what it gives must fit what it was given.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/splash.h"
#include "fakes/fakes.h"
#include "platform/management.h"
#include "platform/registry_values.h"
#include "text/numfmt.h"

using namespace velkaro;

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

void RegistryValues(uint8_t kind, const std::string& bytes) {
  const uint32_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 11, 0xFFFFFFFF};
  const RegData value{types[kind % 10], bytes};
  const std::string decoded = Regestry::DecodeRegValue(value);
  Require(decoded.size() <= 2 * bytes.size() + 16);  // at most 3 bytes of UTF-8 per unit
  fakes::FakeRegistry registry;
  registry.put(RootKey::CurrentUser, "Software\\Fuzz", "Value", value);
  Require(Regestry::ReadRegValue(registry, RootKey::CurrentUser, "Software\\Fuzz", "Value") ==
          decoded);
  Require(Regestry::ReadRegPath(registry, "HKCU\\Software\\Fuzz\\Value").size() <=
          2 * bytes.size() + 16);
  if (const auto parsed = Regestry::ParseRegPath(bytes))
    Require(parsed->key.size() + parsed->value.size() <= bytes.size());
}

void Numbers(uint8_t flags, const std::string& rest) {
  double value = 0;
  std::memcpy(&value, rest.data(), std::min(rest.size(), sizeof value));
  numfmt::NumberSettings s =
      flags & 1 ? numfmt::NumberSettings::German() : numfmt::NumberSettings::English();
  s.negativeOrder = (flags >> 1) % 5;
  s.grouping = numfmt::ParseGrouping(rest.size() > 8 ? rest.substr(8) : "");
  const std::string general = numfmt::General(value, s);
  Require(general.size() <= 32 && (!std::isfinite(value) || !general.empty()));
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) return;
  Require(numfmt::Pattern(value, "##0.0", s).size() <= 64);
  const std::string grouped = numfmt::Grouped(value, s);
  Require(!grouped.empty() && grouped.size() <= 40);
}

void Values(const std::string& rest) {
  // Texts split at NULs: one alone, and all of them as an array.
  std::vector<WmiValue> items;
  for (size_t at = 0; at <= rest.size(); at = rest.find('\0', at) + 1) {
    items.push_back(WmiValue::Text(rest.substr(at, rest.find('\0', at) - at)));
    if (rest.find('\0', at) == std::string::npos) break;
  }
  const WmiValue array = WmiValue::Array(items);
  Require(!FieldText(array) && JoinArray(array, " "));
  Require(WithSuffix(items[0], " KB.") == *FieldText(items[0]) + " KB.");
  Require(!JoinArray(items[0], " "));
  if (const auto moniker = ParseWmiMoniker(rest)) Require(!moniker->nameSpace.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  switch (data[0] % 4) {
    case 0:
      Require(Splash::ExtractDirectXVersion(rest).size() <= rest.size());
      break;
    case 1:
      RegistryValues(data[1], rest);
      break;
    case 2:
      Numbers(data[1], rest);
      break;
    default:
      Values(rest);
  }
  return 0;
}
