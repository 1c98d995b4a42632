// State that lives for the program's whole run and is shared between its parts.
#pragma once

#include <string>

namespace velkaro {

struct AppState {
  // Read from the DirectX diagnostic dump at start-up; empty until then.
  std::string DirectXVersion;
};

}  // namespace velkaro
