// State that lives for the program's whole run and is shared between its parts.
#pragma once

#include <array>
#include <string>

namespace velkaro {

struct AppState {
  // Read from the DirectX diagnostic dump at start-up; empty until then.
  std::string DirectXVersion;

  // The drive line table of the drives panel and the number of lines written into it by the
  // last fill. Kept for the program's whole run (never cleared); the report prints it.
  static constexpr int kDriveLineSlots = 201;
  std::array<std::string, kDriveLineSlots> LaufwerkZeilen;
  int LaufwerkAnzahl = 0;
};

}  // namespace velkaro
