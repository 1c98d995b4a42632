// The "CPU" panel: the processor's management data, the processor count and type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::CPU {

// The text for dwProcessorType; nullopt for an unlisted code (the type text keeps its value).
std::optional<std::string> ProcessorTypeText(uint32_t processorType);

// The number of processors a user expects: the logical processors of all processor groups
// where the platform can tell, else the count of the system information record.
uint32_t ProcessorCount(const ProcessorFacts& facts);

// Walks the processor objects; each writes Text5(9), Text5(10) and Text5(0) .. Text5(7), so the
// last one stands. No object, or no service: nothing is written. A value that cannot be read
// leaves its row as it was; a null joined to a suffix shows the suffix alone.
void ReadProcessorInfo(Management& management, Machine& machine, View& view);

}  // namespace velkaro::CPU
