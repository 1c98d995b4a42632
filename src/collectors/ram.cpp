#include "collectors/ram.h"

#include "app/controls.h"

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

void Fill(Machine& machine, View& view) {
  using ids::Text1;
  view.setText(Text1(52), TotalPhysText(machine));
  view.setText(Text1(53), AvailPhysText(machine));
  view.setText(Text1(54), TotalVirtualText(machine));
  view.setText(Text1(55), AvailVirtualText(machine));
  view.setText(Text1(56), TotalPageFileText(machine));
  view.setText(Text1(57), AvailPageFileText(machine));
  view.setText(Text1(58), MemoryLoadText(machine));
}

}  // namespace velkaro::ram
