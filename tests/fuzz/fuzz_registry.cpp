// Registry value decoding, by root and by path, on arbitrary types, lengths and bytes, and the
// path rule on arbitrary path texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fakes/fake_registry.h"
#include "platform/registry_values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velkaro;
  if (size < 1) return 0;
  // The first byte picks the type (the ones the program knows and some it does not); the rest
  // is the value's data and, as a second use, a path text.
  const uint32_t types[] = {0,
                            regtype::kSz,
                            regtype::kExpandSz,
                            regtype::kBinary,
                            regtype::kDword,
                            5,
                            6,
                            regtype::kMultiSz,
                            11,
                            0xFFFFFFFF};
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const RegData value{types[data[0] % (sizeof types / sizeof types[0])], bytes};

  // UTF-16 to UTF-8 takes at most 3 bytes per 2-byte unit; numbers are short.
  const std::string decoded = Regestry::DecodeRegValue(value);
  if (decoded.size() > 2 * bytes.size() + 16) std::abort();

  fakes::FakeRegistry registry;
  registry.put(RootKey::CurrentUser, "Software\\Fuzz", "Value", value);
  const std::string byPath = Regestry::ReadRegPath(registry, "HKCU\\Software\\Fuzz\\Value");
  if (byPath.size() > 2 * bytes.size() + 16) std::abort();
  const std::string byRoot =
      Regestry::ReadRegValue(registry, RootKey::CurrentUser, "Software\\Fuzz", "Value");
  if (byRoot != decoded) std::abort();

  if (const auto parsed = Regestry::ParseRegPath(bytes)) {
    if (parsed->key.size() + parsed->value.size() > bytes.size()) std::abort();
  }
  (void)Regestry::ReadRegPath(registry, bytes);
  return 0;
}
