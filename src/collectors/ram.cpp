#include "collectors/ram.h"

#include "app/fields.h"

namespace velkaro::ram {

namespace {

// The counts are read as the full unsigned 64-bit figures: a signed 32-bit reading would turn
// every figure of a machine with more than 2 GB negative.
template <uint64_t MemoryStatus::*Field>
std::string Kilobytes(Machine& machine) {
  const MemoryStatus status = machine.memoryStatus();
  return KilobyteText(status.*Field, machine.numberSettings());
}

}  // namespace

std::string KilobyteText(uint64_t bytes, const numfmt::NumberSettings& settings) {
  return numfmt::General(static_cast<double>(bytes) / 1024.0, settings) + " KB.";
}

std::string AvailPhysText(Machine& machine) {
  return Kilobytes<&MemoryStatus::availPhys>(machine);
}
std::string TotalPhysText(Machine& machine) {
  return Kilobytes<&MemoryStatus::totalPhys>(machine);
}
std::string AvailVirtualText(Machine& machine) {
  return Kilobytes<&MemoryStatus::availVirtual>(machine);
}
std::string TotalVirtualText(Machine& machine) {
  return Kilobytes<&MemoryStatus::totalVirtual>(machine);
}
std::string AvailPageFileText(Machine& machine) {
  return Kilobytes<&MemoryStatus::availPageFile>(machine);
}
std::string TotalPageFileText(Machine& machine) {
  return Kilobytes<&MemoryStatus::totalPageFile>(machine);
}
std::string MemoryLoadText(Machine& machine) {
  return std::to_string(machine.memoryStatus().memoryLoad) + " %";
}

namespace {

struct Figure {
  int field;
  std::string (*text)(Machine&);
};
// The field of each figure, in the panel's order.
constexpr Figure kFigures[] = {
    {field::kTotalPhys, TotalPhysText},         {field::kAvailPhys, AvailPhysText},
    {field::kTotalVirtual, TotalVirtualText},   {field::kAvailVirtual, AvailVirtualText},
    {field::kTotalPageFile, TotalPageFileText}, {field::kAvailPageFile, AvailPageFileText},
    {field::kMemoryLoad, MemoryLoadText},
};

}  // namespace

std::optional<std::string> FigureText(int field, Machine& machine) {
  for (const Figure& figure : kFigures)
    if (figure.field == field) return figure.text(machine);
  return std::nullopt;
}

void Fill(Machine& machine, View& view) {
  for (const Figure& figure : kFigures) view.setText(figure.field, figure.text(machine));
}

}  // namespace velkaro::ram
