// The seven memory figures as display texts, and the "Arbeitsspeicher" panel's fill. Every
// function reads the platform's memory status anew, so each text is of its own moment.
#pragma once

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

// Text1(52) .. Text1(58), in that order.
void Fill(Machine& machine, View& view);

}  // namespace velkaro::ram
