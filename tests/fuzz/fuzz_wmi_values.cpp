// The conversions of management values to field text on arbitrary nested values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/management.h"

namespace {

using velkaro::WmiValue;

// Builds a value from the input: a kind byte, then the kind's payload; arrays nest a few deep.
struct Reader {
  const uint8_t* p;
  size_t left;
  uint8_t byte() {
    if (!left) return 0;
    --left;
    return *p++;
  }
  WmiValue value(int depth) {
    switch (byte() % 6) {
      case 0:
        return WmiValue::Null();
      case 1: {
        const size_t n = std::min<size_t>(byte(), left);
        std::string s(reinterpret_cast<const char*>(p), n);
        p += n;
        left -= n;
        return WmiValue::Text(s);
      }
      case 2: {
        int64_t i = 0;
        for (int k = 0; k < 8; ++k) i = (i << 8) | byte();
        return WmiValue::Integer(i);
      }
      case 3: {
        uint64_t bits = 0;
        for (int k = 0; k < 8; ++k) bits = (bits << 8) | byte();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return WmiValue::Real(d);
      }
      case 4:
        return WmiValue::Boolean(byte() & 1);
      default: {
        std::vector<WmiValue> items;
        const int n = depth < 3 ? byte() % 8 : 0;
        for (int k = 0; k < n; ++k) items.push_back(value(depth + 1));
        return WmiValue::Array(std::move(items));
      }
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader reader{data, size};
  const WmiValue value = reader.value(0);
  const auto field = velkaro::FieldText(value);
  const auto suffixed = velkaro::WithSuffix(value, " KB.");
  const auto joined = velkaro::JoinArray(value, " ");
  // A value that stands in a field also joins with a suffix, and the suffix ends the text.
  if (field && (!suffixed || *suffixed != *field + " KB.")) std::abort();
  if (value.kind == WmiValue::Kind::Array && field) std::abort();
  if (value.kind != WmiValue::Kind::Array && joined) std::abort();
  return 0;
}
