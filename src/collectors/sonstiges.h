// The "Sonstiges" panel: the installed versions of Velkaro, Fennrick 2 and Lunavex.
#pragma once

#include "app/view.h"
#include "platform/registry.h"

namespace velkaro::Sonstiges {

inline constexpr const char* kVelkaroPath = "HKCU\\SOFTWARE\\Korvandt\\Velkaro";
inline constexpr const char* kFennrickPath = "HKLM\\SOFTWARE\\Fennrick2\\VersionNo";
inline constexpr const char* kLunavexPath = "HKCU\\SOFTWARE\\Korvandt\\Lunavex";

// Text5(13), Text5(12), Text5(11), in that order, each the value as read (empty on any
// failure; an HKLM value missing from a 64-bit program's own view is read from the 32-bit one).
void Fill(Registry& registry, View& view);

}  // namespace velkaro::Sonstiges
