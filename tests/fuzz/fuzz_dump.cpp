// The DirectX dump parser on arbitrary bytes: never crashes, and what it finds is a piece of
// the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/splash.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view dump(reinterpret_cast<const char*>(data), size);
  const std::string version = velkaro::Splash::ExtractDirectXVersion(dump);
  if (version.size() > size) std::abort();
  return 0;
}
