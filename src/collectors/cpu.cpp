#include "collectors/cpu.h"

#include "app/fields.h"

#include "collectors/wmi_regimes.h"

namespace velkaro::CPU {

namespace {

struct TypeRow {
  uint32_t code;
  const char* text;
};
constexpr TypeRow kProcessorTypes[] = {
    {386, "80x386"},        {486, "80x486"},      {586, "80x586"},      {686, "80x686"},
    {860, "Intel 860"},     {2000, "MIPS R2000"}, {3000, "MIPS R3000"}, {4000, "MIPS R4000"},
    {21064, "ALPHA 21064"}, {601, "PPC 601"},     {603, "PPC 603"},     {604, "PPC 604"},
    {620, "PPC 620"},
};

struct SuffixRow {
  int field;
  const char* property;
  const char* suffix;
};
constexpr SuffixRow kSuffixRows[] = {
    {field::kL2CacheSize, "L2CacheSize", "      KByte"},
    {field::kL2CacheSpeed, "L2CacheSpeed", "     MHz"},
    {field::kFrontSideBus, "ExtClock", "     MHz"},
    {field::kCpuClock, "MaxClockSpeed", "    MHz"},
    {field::kVoltageCaps, "VoltageCaps", " V."},
};

}  // namespace

std::optional<std::string> ProcessorTypeText(uint32_t processorType) {
  for (const auto& row : kProcessorTypes)
    if (row.code == processorType) return std::string(row.text);
  return std::nullopt;
}

uint32_t ProcessorCount(const ProcessorFacts& facts) {
  return facts.activeProcessors.value_or(facts.numberOfProcessors);
}

void ReadProcessorInfo(Management& management, Machine& machine, View& view) {
  std::string type;  // once per call: an unlisted code keeps the previous object's text
  wmi::Walk(management, view, {wmi::kLocalCimV2, "Select * from Win32_Processor"},
            [&](wmi::Row& processor) {
              const ProcessorFacts facts = machine.processorFacts();
              view.setText(field::kCpuCount, std::to_string(ProcessorCount(facts)));
              if (const auto text = ProcessorTypeText(facts.processorType)) type = *text;
              view.setText(field::kCpuType, type);
              processor.set(field::kCpuName, processor.text("Name"));
              processor.set(field::kCpuModel, processor.text("Description"));
              processor.set(field::kCpuRevision, processor.text("Revision"));
              for (const auto& row : kSuffixRows)
                processor.set(row.field, processor.withSuffix(row.property, row.suffix));
            });
}

}  // namespace velkaro::CPU
