// The "Netzwerk / Internet" panel: network card and adapter addresses, serial and parallel
// ports, default browser and mail client.
#pragma once

#include <string>

#include "app/view.h"
#include "platform/platform.h"

namespace velkaro::Netzwerk {

inline constexpr const char* kProbeFileName = "test~12345.html";
inline constexpr const char* kMailClientsKey = "Software\\Clients\\Mail";
inline constexpr const char* kNetworkCardsKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
inline constexpr const char* kAdapterQuery =
    "SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled = True";
inline constexpr const char* kPortReady = "Port Bereit.";
inline constexpr const char* kPortNotReady = "Port nicht vorhanden oder nicht bereit.";
inline constexpr const char* kUnknownBrowser = "Unbekannter Browser";

// The browser kind of an executable's path by the browser table (the whole path, lower-cased,
// searched for each key in the table's order).
std::string BrowserKind(const std::string& executable);

// The probe document in the program's folder, joined by exactly one backslash.
std::string ProbePath(const std::string& programPath);

// The program the shell associates with the document, or empty text (also when the document
// itself is all that comes back).
std::string FindExecutableOf(Shell& shell, const std::string& document);

// The default browser's kind, learnt from a probe document that is created empty, looked up and
// deleted again; empty text when no program is associated or the document cannot be created.
std::string GetDefaultBrowser(Platform& platform);

// The first registered e-mail client into Text1(36), empty text when there is none.
void ShowMailClient(Registry& registry, View& view);
// Readiness of COM1..COM3 and LPT1 into Text1(30), (31), (35), (32).
void ProbePorts(Devices& devices, View& view);
// Addresses of the IP-enabled adapters into Text1(34), (15), (16), (28), (29).
void ReadAdapters(Management& management, View& view);
// The description of the lowest-numbered network card 0..8 that has one, else "N/A": Text1(14).
void ShowNetworkCard(Registry& registry, View& view);

// Mail client, ports, adapters and network card, in that order.
void ReadNetworkInfo(Platform& platform, View& view);

// The panel's fill: the browser into Text1(33), then ReadNetworkInfo.
void Fill(Platform& platform, View& view);

}  // namespace velkaro::Netzwerk
