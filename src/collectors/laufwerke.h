// The "Laufwerke" panel: one list per logical drive, and the drive line table the report prints.
#pragma once

#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::Laufwerke {

// A byte count (the service delivers 64-bit counts as decimal text; a number is taken as it
// is) in kilobytes: divided by 1024, rounded, grouped by the user's settings. nullopt when the
// value is no byte count (null, missing, not a number).
std::optional<std::string> KilobyteFigure(const std::optional<WmiValue>& bytes,
                                          const numfmt::NumberSettings& settings);

// Empties and refills List1(0) .. List1(8) (the first nine drives), writes the drive line
// table entries 6k+1 .. 6k+5 of drive k (as far as entry 200) and sets the line count to 6
// times the number of drives. A line whose value cannot be read stands with its caption alone.
// When the service cannot be bound or queried the lists end empty, the table stays as it was
// and the count is 0. When it did not answer in time (or was left alone after a stall), the
// lists, the table and the count of the last complete fill stay as they are.
void ReadDriveInfo(Management& management, Machine& machine, View& view, AppState& state);

}  // namespace velkaro::Laufwerke
