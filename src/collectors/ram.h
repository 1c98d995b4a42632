// The seven memory figures as display texts, and the "Arbeitsspeicher" panel's fill. Every
// function reads the platform's memory status anew, so each text is of its own moment.
#pragma once

#include <optional>
#include <string>

#include "app/view.h"
#include "platform/machine.h"

namespace velkaro::ram {

// Bytes as kilobytes in the general number format, followed by " KB.".
std::string KilobyteText(uint64_t bytes, const numfmt::NumberSettings& settings);

std::string AvailPhysText(Machine& machine);
std::string TotalPhysText(Machine& machine);
std::string AvailVirtualText(Machine& machine);
std::string TotalVirtualText(Machine& machine);
std::string AvailPageFileText(Machine& machine);
std::string TotalPageFileText(Machine& machine);
std::string MemoryLoadText(Machine& machine);

// The text of a memory figure's field (field::kTotalPhys .. field::kMemoryLoad) as of this
// moment; nullopt for any other field.
std::optional<std::string> FigureText(int field, Machine& machine);

// The seven figures' fields, in the panel's order.
void Fill(Machine& machine, View& view);

}  // namespace velkaro::ram
