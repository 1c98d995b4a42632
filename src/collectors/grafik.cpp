#include "collectors/grafik.h"

#include <cmath>

#include "collectors/wmi_regimes.h"
#include "platform/registry_values.h"

namespace velkaro::Grafik {

namespace {

using ids::Text1;

std::string OrNA(std::string value) {
  return value.empty() ? "N/A" : value;
}

std::string SystemValue(Registry& registry, const char* name) {
  return OrNA(Regestry::ReadRegValue(registry, RootKey::LocalMachine, kSystemKey, name));
}

// Twips to whole pixels; nearbyint rounds a half to the even neighbour.
long long Pixels(double twips, double twipsPerPixel) {
  return twipsPerPixel > 0 ? std::llround(std::nearbyint(twips / twipsPerPixel)) : 0;
}

}  // namespace

std::string GetVideoBiosDate(Registry& registry) {
  return SystemValue(registry, "VideoBiosDate");
}

std::string GetVideoBiosVersion(Registry& registry) {
  return SystemValue(registry, "VideoBiosVersion");
}

std::string ResolutionText(const ScreenMetrics& screen) {
  return std::to_string(Pixels(screen.widthTwips, screen.twipsPerPixelX)) + " x " +
         std::to_string(Pixels(screen.heightTwips, screen.twipsPerPixelY));
}

std::string GetScreenResolution(Devices& devices) {
  return ResolutionText(devices.screen());
}

std::string GetMediaClient(Registry& registry, View& view) {
  const std::string client =
      OrNA(Regestry::FirstSubKeyName(registry, RootKey::LocalMachine, kMediaClientsKey));
  view.setText(Text1(18), client);
  return client;
}

void ReadVideoController(Management& management, View& view) {
  wmi::SkipAll(management, view, {wmi::kLocalCimV2, kVideoControllerQuery}, [](wmi::Row& row) {
    row.set(Text1(24), row.withSuffix("CurrentNumberOfColors", " Farben"));
    row.set(Text1(27), row.text("VideoProcessor"));
  });
}

void ReadSoundDevice(Management& management, View& view) {
  wmi::SkipAll(management, view, {wmi::kLocalCimV2, kSoundDeviceQuery}, [](wmi::Row& row) {
    row.set(Text1(22), row.text("Caption"));
    row.set(Text1(21), row.text("DeviceID"));
    row.set(Text1(19), row.text("MPU401Address"));
    row.set(Text1(20), row.text("PNPDeviceID"));
    row.stopWalk();
  });
}

void Fill(Platform& platform, View& view, const std::string& directXVersion) {
  Registry& registry = platform.registry;
  view.setText(Text1(17), GetVideoBiosDate(registry));
  view.setText(Text1(18), GetMediaClient(registry, view));
  view.setText(Text1(23), directXVersion);
  view.setText(Text1(25), GetScreenResolution(platform.devices));
  view.setText(Text1(26), GetVideoBiosVersion(registry));
  ReadVideoController(platform.management, view);
  ReadSoundDevice(platform.management, view);
}

}  // namespace velkaro::Grafik
