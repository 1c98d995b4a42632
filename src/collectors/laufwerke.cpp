#include "collectors/laufwerke.h"

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "collectors/wmi_regimes.h"

namespace velkaro::Laufwerke {

namespace {

enum class Value { Text, Kilobytes };

struct DriveLine {
  const char* caption;
  const char* property;
  int tabs;  // between caption and value in the table entry
  Value value;
};
constexpr DriveLine kDriveLines[] = {
    {"DeviceID: ", "DeviceID", 4, Value::Text},
    {"FileSystem: ", "FileSystem", 4, Value::Text},
    {"Description: ", "Description", 4, Value::Text},
    {"Size (KB): ", "Size", 4, Value::Kilobytes},
    {"FreeSpace (KB): ", "FreeSpace", 3, Value::Kilobytes},
};
constexpr int kLastEntry = AppState::kDriveLineSlots - 1;

std::optional<uint64_t> ByteCount(const WmiValue& value) {
  switch (value.kind) {
    case WmiValue::Kind::Integer:
      if (value.integer < 0) return std::nullopt;
      return static_cast<uint64_t>(value.integer);
    case WmiValue::Kind::Text: {
      const std::string& digits = value.text;
      if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
      errno = 0;
      const unsigned long long n = std::strtoull(digits.c_str(), nullptr, 10);
      if (errno == ERANGE) return std::nullopt;
      return static_cast<uint64_t>(n);
    }
    default:
      return std::nullopt;
  }
}

std::string LineValue(const DriveLine& line, wmi::Row& drive,
                      const numfmt::NumberSettings& settings) {
  if (line.value == Value::Kilobytes)
    return KilobyteFigure(drive.get(line.property), settings).value_or("");
  return drive.text(line.property).value_or("");
}

}  // namespace

std::optional<std::string> KilobyteFigure(const std::optional<WmiValue>& bytes,
                                          const numfmt::NumberSettings& settings) {
  const auto count = bytes ? ByteCount(*bytes) : std::nullopt;
  if (!count) return std::nullopt;
  return numfmt::Grouped(static_cast<double>(*count) / 1024.0, settings);
}

void ReadDriveInfo(Management& management, Machine& machine, View& view, AppState& state) {
  const numfmt::NumberSettings settings = machine.numberSettings();
  std::vector<std::vector<std::string>> lists;       // each drive's list lines
  std::vector<std::pair<int, std::string>> entries;  // table entries by index
  int x = 0;  // the line counter: raised before each table write
  const bool queried =
      wmi::Walk(management, view, {wmi::kLocalCimV2, "Select * from Win32_LogicalDisk"},
                [&](wmi::Row& drive) {
                  lists.emplace_back();
                  for (const DriveLine& line : kDriveLines) {
                    const std::string value = LineValue(line, drive, settings);
                    lists.back().push_back(line.caption + value);
                    ++x;
                    if (x <= kLastEntry)
                      entries.emplace_back(x, line.caption + std::string(line.tabs, '\t') + value);
                  }
                  ++x;  // the empty line behind the drive
                });
  // A service that did not answer in time leaves the last complete fill standing: the lists,
  // the table and its count.
  if (management.unanswered()) return;
  for (int list = 0; list < ids::kListCount; ++list) {
    view.clearItems(ids::List1(list));
    if (list < static_cast<int>(lists.size()))
      for (const std::string& item : lists[list]) view.addItem(ids::List1(list), item);
  }
  for (const auto& [index, text] : entries) state.LaufwerkZeilen[index] = text;
  state.LaufwerkAnzahl = queried ? x : 0;
}

}  // namespace velkaro::Laufwerke
