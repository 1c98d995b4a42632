// The "Audio / Grafik" panel: graphics chip and BIOS, screen, DirectX, sound card, media player.
#pragma once

#include <string>

#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::Grafik {

inline constexpr const char* kSystemKey = "HARDWARE\\DESCRIPTION\\System";
inline constexpr const char* kMediaClientsKey = "Software\\Clients\\Media";
inline constexpr const char* kVideoControllerQuery = "Select * from Win32_VideoController";
inline constexpr const char* kSoundDeviceQuery = "Select * from Win32_SoundDevice";

// The video BIOS date and version from the registry, "N/A" when missing or empty.
std::string GetVideoBiosDate(Registry& registry);
std::string GetVideoBiosVersion(Registry& registry);

// Width " x " height in pixels: the screen's twips divided by the twips per pixel, each rounded
// to the nearest whole number (a half to the even one).
std::string ResolutionText(const ScreenMetrics& screen);
std::string GetScreenResolution(Devices& devices);

// The first registered media player, "N/A" when there is none; also written into Text1(18).
std::string GetMediaClient(Registry& registry, View& view);

// The video controllers' colours and chip (the last controller's stand): Text1(24), Text1(27).
void ReadVideoController(Management& management, View& view);
// The first sound device's name, IDs and MPU-401 address: Text1(22), (21), (19), (20).
void ReadSoundDevice(Management& management, View& view);

// The panel's fill, in its order.
void Fill(Platform& platform, View& view, const std::string& directXVersion);

}  // namespace velkaro::Grafik
