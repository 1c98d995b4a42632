// The "Windows" panel: operating system, registration, user, WMI and folders.
#pragma once

#include <string>

#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::Windows {

inline constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kIdentificationMoniker =
    "winmgmts:root\\default:__cimomidentification=@";

// The operating system's name by the version decision table.
std::string OSNameFor(const VersionRecord& version);
// The name for the running system: the extended version record, else the plain one (whose
// missing fields read as 0), else empty text.
std::string GetOSName(System& system);

// The logged-on user's name; 256 blanks when the platform cannot tell it.
std::string GetLoggedOnUser(System& system);
// "Administrator" or "User".
std::string GetAdminRole(System& system);

// The Windows and system folders, closed by exactly one "\" ("\" alone when unknown).
std::string GetWindowsPath(System& system);
std::string GetSystemPath(System& system);

inline constexpr const char* kWmiInstalled = "WMI ist installiert!";
inline constexpr const char* kWmiNotInstalled = "WMI ist nicht installiert!";
inline constexpr const char* kWmiNotAnswering = "WMI antwortet nicht!";

// Whether the management service can be bound at all.
bool WmiReachable(Management& management);
// The WMI version and whether WMI is there: Text1(10) and Text1(9). A service that did not
// answer in time (or was left alone after it stalled) is told as such, not as missing.
void ShowWmiStatus(Management& management, View& view);

// The panel's fill, in its order.
void Fill(Platform& platform, View& view);

}  // namespace velkaro::Windows
