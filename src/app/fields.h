// The value fields of the panels, each in one row: its name in the code, its caption and place
// on its panel, its line in the report (every field is written there, in panel order) and
// whether the status line rewrites it. The screen, the report, the status line and the
// collectors all take the fields from here.
#pragma once

#include <vector>

#include "app/controls.h"

namespace velkaro {

// The value fields by what they show; the design's control (Text1(j), Text5(j)) is the value.
namespace field {
using ids::Text1;
using ids::Text5;
// Windows
inline constexpr int kOsName = Text1(0);
inline constexpr int kOsVersion = Text1(11);
inline constexpr int kServicePack = Text1(1);
inline constexpr int kBuild = Text1(2);
inline constexpr int kUptime = Text1(4);
inline constexpr int kProductId = Text1(5);
inline constexpr int kRegisteredOwner = Text1(6);
inline constexpr int kRegisteredOrganization = Text1(7);
inline constexpr int kLoggedOnUser = Text1(8);
inline constexpr int kWmiInstalled = Text1(9);
inline constexpr int kWmiVersion = Text1(10);
inline constexpr int kWindowsPath = Text1(3);
inline constexpr int kSystemPath = Text1(12);
inline constexpr int kSourcePath = Text1(13);
// Audio / Grafik
inline constexpr int kGraphicsCard = Text1(27);
inline constexpr int kVideoBiosDate = Text1(17);
inline constexpr int kVideoBiosVersion = Text1(26);
inline constexpr int kResolution = Text1(25);
inline constexpr int kColours = Text1(24);
inline constexpr int kDirectX = Text1(23);
inline constexpr int kSoundCard = Text1(22);
inline constexpr int kSoundDeviceId = Text1(21);
inline constexpr int kSoundPnpId = Text1(20);
inline constexpr int kMpu401Address = Text1(19);
inline constexpr int kMediaClient = Text1(18);
// Netzwerk / Internet
inline constexpr int kNetworkCard = Text1(14);
inline constexpr int kMacAddress = Text1(34);
inline constexpr int kIpAddress = Text1(15);
inline constexpr int kSubnetMask = Text1(16);
inline constexpr int kGateway = Text1(28);
inline constexpr int kWinsServer = Text1(29);
inline constexpr int kCom1 = Text1(30);
inline constexpr int kCom2 = Text1(31);
inline constexpr int kCom3 = Text1(35);
inline constexpr int kLpt1 = Text1(32);
inline constexpr int kBrowser = Text1(33);
inline constexpr int kMailClient = Text1(36);
// Computer
inline constexpr int kProduct = Text1(48);
inline constexpr int kProductName = Text1(39);
inline constexpr int kProductVersion = Text1(47);
inline constexpr int kBoard = Text1(46);
inline constexpr int kBoardVersion = Text1(45);
inline constexpr int kBoardSerial = Text1(44);
inline constexpr int kBiosName = Text1(43);
inline constexpr int kBiosVersion = Text1(42);
inline constexpr int kBiosDate = Text1(41);
inline constexpr int kBiosBuild = Text1(51);
inline constexpr int kPowerStatus = Text1(38);
inline constexpr int kBatteryStatus = Text1(40);
inline constexpr int kBatteryFullTime = Text1(37);
inline constexpr int kBatteryTimeLeft = Text1(49);
inline constexpr int kBatteryPercent = Text1(50);
// Arbeitsspeicher
inline constexpr int kTotalPhys = Text1(52);
inline constexpr int kAvailPhys = Text1(53);
inline constexpr int kTotalVirtual = Text1(54);
inline constexpr int kAvailVirtual = Text1(55);
inline constexpr int kTotalPageFile = Text1(56);
inline constexpr int kAvailPageFile = Text1(57);
inline constexpr int kMemoryLoad = Text1(58);
// CPU
inline constexpr int kCpuName = Text5(0);
inline constexpr int kCpuModel = Text5(1);
inline constexpr int kCpuRevision = Text5(2);
inline constexpr int kL2CacheSize = Text5(3);
inline constexpr int kL2CacheSpeed = Text5(4);
inline constexpr int kFrontSideBus = Text5(5);
inline constexpr int kCpuClock = Text5(6);
inline constexpr int kVoltageCaps = Text5(7);
inline constexpr int kCpuLoad = Text5(8);
inline constexpr int kCpuCount = Text5(9);
inline constexpr int kCpuType = Text5(10);
// Sonstiges
inline constexpr int kLunavexVersion = Text5(11);
inline constexpr int kFennrickVersion = Text5(12);
inline constexpr int kVelkaroVersion = Text5(13);
}  // namespace field

// Whether the status line rewrites a field four times a second, and whether it lets the
// window's events in right after it.
enum class Live { No, Yes, ThenEvents };

struct FieldRow {
  int field;                  // field::k...
  int label;                  // Label11(label), its caption on the panel
  int top;                    // twips, inside the panel
  const char* caption;        // on the panel
  const char* reportCaption;  // in the report
  int tabs;                   // TABs between the report caption and the value
  Live live;
};

struct PanelFields {
  int panel;      // P1(panel); the menu entry and the report section of the same position
  int valueLeft;  // twips: where the panel's value fields begin
  std::vector<FieldRow> rows;
};

// The panels that hold value fields, in menu order (the drives panel holds lists instead).
const std::vector<PanelFields>& FieldTable();
// The rows of one panel; empty for a panel without value fields.
const std::vector<FieldRow>& FieldsOf(int panel);

}  // namespace velkaro
