#include "collectors/computer.h"

#include "app/fields.h"

#include "collectors/wmi_regimes.h"

namespace velkaro::Computer {

namespace {

constexpr int kPowerSourceRow = field::kPowerStatus;
constexpr int kBatteryStateRow = field::kBatteryStatus;
constexpr const char* kMains = "220 V Stromversorgung";

struct PowerSourceRow {
  uint8_t code;
  const char* text;
};
constexpr PowerSourceRow kPowerSources[] = {
    {0, "Accu Stromversorgung"},
    {1, kMains},
    {255, "Unbekannte Stromversorgung"},
};

struct BatteryRow {
  uint8_t code;
  const char* text;
  const char* powerSource;  // nullptr: the power source row is not touched
};
constexpr BatteryRow kBatteryStates[] = {
    {1, "Accu Voll", nullptr},
    {2, "Accu Leer", nullptr},
    {0, "AccU Halbvoll", nullptr},
    {4, "!! Warnung Accu Sofort Laden !!", nullptr},
    {128, "Kein Accu gefunden.", kMains},
    {255, "Unbekannter Fehler.", nullptr},
};

wmi::Query LocalQuery(const char* text) {
  return {wmi::kLocalCimV2, text};
}

// Characters first..first+count-1 (counted from 1) of a text, as far as they exist.
std::string Slice(const std::string& text, size_t first, size_t count) {
  return first - 1 < text.size() ? text.substr(first - 1, count) : std::string();
}

}  // namespace

std::optional<std::string> PowerSourceText(uint8_t acLineStatus) {
  for (const auto& row : kPowerSources)
    if (row.code == acLineStatus) return std::string(row.text);
  return std::nullopt;
}

std::optional<BatteryState> BatteryStateText(uint8_t batteryFlag) {
  for (const auto& row : kBatteryStates) {
    if (row.code != batteryFlag) continue;
    BatteryState state{row.text, std::nullopt};
    if (row.powerSource) state.powerSource = row.powerSource;
    return state;
  }
  return std::nullopt;
}

std::string PercentText(uint8_t batteryLifePercent, const numfmt::NumberSettings& settings) {
  const std::string text = numfmt::Pattern(batteryLifePercent, "###", settings) + " %";
  return text == "255 %" ? "0 %" : text;
}

std::string HoursText(uint32_t seconds, const numfmt::NumberSettings& settings) {
  const double hours = static_cast<int32_t>(seconds) * (1.0 / 3600.0);
  return numfmt::Pattern(hours, "#0.0", settings) + " Hours";
}

void ReadBaseBoard(Management& management, View& view) {
  wmi::Walk(management, view, LocalQuery("Select * from Win32_BaseBoard"), [](wmi::Row& board) {
    board.set(field::kBoard, board.text("Product"));
    board.set(field::kBoardVersion, board.text("Version"));
    board.set(field::kBoardSerial, board.text("SerialNumber"));
  });
}

void ReadBios(Management& management, View& view) {
  // Kept across the BIOS objects: a null date leaves the previous object's parts.
  std::string year, month, day;
  wmi::Walk(management, view, LocalQuery("Select * from Win32_BIOS"), [&](wmi::Row& bios) {
    bios.set(field::kBiosVersion, bios.text("Description"));
    bios.set(field::kBiosName, bios.text("Version"));
    bios.set(field::kBiosBuild, bios.text("BuildNumber"));
    // yyyymmddHHMMSS.ffffff+zzz
    if (const auto date = bios.text("releasedate")) {
      year = Slice(*date, 1, 4);
      month = Slice(*date, 5, 2);
      day = Slice(*date, 7, 2);
    }
    bios.set(field::kBiosDate, day + "." + month + "." + year);
  });
}

void ReadProductAndPower(Management& management, Machine& machine, View& view) {
  wmi::Walk(management, view, LocalQuery("Select * from Win32_ComputerSystemProduct"),
            [](wmi::Row& product) {
              product.set(field::kProduct, product.text("Caption"));
              product.set(field::kProductName, product.text("Name"));
              product.set(field::kProductVersion, product.text("Version"));
            });

  const PowerStatus power = machine.powerStatus();
  const numfmt::NumberSettings settings = machine.numberSettings();
  view.setText(field::kBatteryPercent, PercentText(power.batteryLifePercent, settings));
  view.setText(field::kBatteryFullTime, HoursText(power.batteryFullLifeTime, settings));
  view.setText(field::kBatteryTimeLeft, HoursText(power.batteryLifeTime, settings));
  if (const auto source = PowerSourceText(power.acLineStatus))
    view.setText(kPowerSourceRow, *source);
  if (const auto battery = BatteryStateText(power.batteryFlag)) {
    view.setText(kBatteryStateRow, battery->text);
    if (battery->powerSource) view.setText(kPowerSourceRow, *battery->powerSource);
  }
}

void Fill(Platform& platform, View& view) {
  ReadBaseBoard(platform.management, view);
  ReadBios(platform.management, view);
  ReadProductAndPower(platform.management, platform.machine, view);
}

}  // namespace velkaro::Computer
