// The "Computer" panel: computer product, main board, BIOS and power supply.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::Computer {

// The power source text for ACLineStatus; nullopt for codes outside the table (no change).
std::optional<std::string> PowerSourceText(uint8_t acLineStatus);

// The battery state for BatteryFlag, compared with the whole byte; nullopt for codes outside
// the table (the charging bit set included: no change).
struct BatteryState {
  std::string text;
  std::optional<std::string> powerSource;  // also written to the power source row
};
std::optional<BatteryState> BatteryStateText(uint8_t batteryFlag);

// The charge in percent with "###" and " %"; the unknown charge (255) shows as "0 %".
std::string PercentText(uint8_t batteryLifePercent, const numfmt::NumberSettings& settings);
// A running time in seconds (read as signed: all bits set is -1 s) as hours with "#0.0" and
// " Hours".
std::string HoursText(uint32_t seconds, const numfmt::NumberSettings& settings);

// The three routines of the fill. Binding or query failures leave their rows as they were.
void ReadBaseBoard(Management& management, View& view);
void ReadBios(Management& management, View& view);
void ReadProductAndPower(Management& management, Machine& machine, View& view);

// ReadBaseBoard, ReadBios, ReadProductAndPower.
void Fill(Platform& platform, View& view);

}  // namespace velkaro::Computer
