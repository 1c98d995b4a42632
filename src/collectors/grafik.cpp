#include "collectors/grafik.h"

#include <cmath>

#include "app/fields.h"
#include "collectors/wmi_regimes.h"
#include "platform/registry_values.h"

namespace velkaro::Grafik {

namespace {

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
  view.setText(field::kMediaClient, client);
  return client;
}

void ReadVideoController(Management& management, View& view) {
  wmi::Walk(management, view, {wmi::kLocalCimV2, kVideoControllerQuery}, [](wmi::Row& row) {
    row.set(field::kColours, row.withSuffix("CurrentNumberOfColors", " Farben"));
    row.set(field::kGraphicsCard, row.text("VideoProcessor"));
  });
}

void ReadSoundDevice(Management& management, View& view) {
  wmi::Walk(management, view, {wmi::kLocalCimV2, kSoundDeviceQuery}, [](wmi::Row& row) {
    row.set(field::kSoundCard, row.text("Caption"));
    row.set(field::kSoundDeviceId, row.text("DeviceID"));
    row.set(field::kMpu401Address, row.text("MPU401Address"));
    row.set(field::kSoundPnpId, row.text("PNPDeviceID"));
    row.stopWalk();
  });
}

void Fill(Platform& platform, View& view, const std::string& directXVersion) {
  Registry& registry = platform.registry;
  view.setText(field::kVideoBiosDate, GetVideoBiosDate(registry));
  view.setText(field::kMediaClient, GetMediaClient(registry, view));
  view.setText(field::kDirectX, directXVersion);
  view.setText(field::kResolution, GetScreenResolution(platform.devices));
  view.setText(field::kVideoBiosVersion, GetVideoBiosVersion(registry));
  ReadVideoController(platform.management, view);
  ReadSoundDevice(platform.management, view);
}

}  // namespace velkaro::Grafik
