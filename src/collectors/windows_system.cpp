#include "collectors/windows_system.h"

#include "app/fields.h"

#include "platform/registry_values.h"
#include "text/text.h"

namespace velkaro::Windows {

namespace {

constexpr uint32_t kUserBufferChars = 256;

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kServer = 3;
constexpr uint16_t kSuiteEnterprise = 0x0002;
constexpr uint16_t kSuiteDatacenter = 0x0080;
constexpr uint16_t kSuitePersonal = 0x0200;

constexpr const char* kNewUnknown = "Neue, unbekannte Windows-Version";
constexpr const char* kUnknown = "Unbekannte Version";

std::string NtName(const VersionRecord& v, const std::string& servicePack) {
  switch (v.major) {
    case 3:
      return "Windows NT 3.5x" + std::to_string(v.minor);
    case 4: {
      const char last = servicePack.empty() ? '\0' : servicePack.back();
      if (last >= '6' && last <= '9')
        return v.productType == kWorkstation ? "Windows NT 4.0 Workstation"
                                             : "Windows NT 4.0 Server";
      return "Windows NT 4.0";
    }
    case 5:
      if (v.minor == 0) {
        if (v.productType == kWorkstation) return "Windows 2000 Professional";
        if (v.suiteMask & kSuiteEnterprise) return "Windows 2000 Advanced Server";
        if (v.suiteMask & kSuiteDatacenter) return "Windows 2000 Datacenter Server";
        return "Windows 2000 Server";
      }
      if (v.minor == 1 && v.productType == kWorkstation)
        return (v.suiteMask & kSuitePersonal) ? "Windows XP Home Edition"
                                              : "Windows XP Professional";
      if (v.minor == 2 && v.productType == kServer) return "Windows 2003 Server";
      return kNewUnknown;
    default:
      return kUnknown;
  }
}

std::string NineXName(const VersionRecord& v, const std::string& servicePack) {
  switch (v.minor) {
    case 0:
      if (servicePack == "A") return "Windows 95 A";
      if (servicePack == "B" || servicePack == "C") return "Windows 95 OSR2";
      return "Windows 95";
    case 10:
      return servicePack == "A" ? "Windows 98 SE" : "Windows 98";
    case 90:
      return "Windows ME";
    default:
      return {};
  }
}

// A folder text closed by one backslash; a failed call (empty text) gives "\" alone.
std::string Closed(std::string folder) {
  if (!text::EndsWith(folder, "\\")) folder += '\\';
  return folder;
}

std::string CurrentVersion(Registry& registry, const char* name) {
  return Regestry::ReadRegValue(registry, RootKey::LocalMachine, kCurrentVersionKey, name);
}

}  // namespace

std::string OSNameFor(const VersionRecord& version) {
  std::string servicePack = text::TrimBlanks(text::CutAtNul(version.servicePack));
  switch (version.platformId) {
    case 0:
      return "Win32s für Windows 3.11 or Windows 3.1";
    case 1:
      return NineXName(version, text::UpperAscii(servicePack));
    case 2:
      return NtName(version, servicePack);
    default:
      return kUnknown;
  }
}

std::string GetOSName(System& system) {
  const auto version = ReadVersionRecord(system);
  return version ? OSNameFor(*version) : std::string();
}

std::string GetLoggedOnUser(System& system) {
  // The buffer of blanks stays as it is when the call fails.
  const auto buffer = system.userName(kUserBufferChars);
  return text::CutAtNul(buffer ? *buffer : std::string(kUserBufferChars, ' '));
}

std::string GetAdminRole(System& system) {
  const auto admin = system.isNTAdmin();
  return admin && *admin ? "Administrator" : "User";
}

std::string GetWindowsPath(System& system) {
  return Closed(system.windowsDirectory());
}

std::string GetSystemPath(System& system) {
  return Closed(system.systemDirectory());
}

bool WmiReachable(Management& management) {
  return management.connect("winmgmts:") != nullptr;
}

void ShowWmiStatus(Management& management, View& view) {
  // The version read stops at its first failure; the status below is written in any case.
  if (const auto identification = management.getObject(kIdentificationMoniker)) {
    if (const auto version = identification->get("versionusedtocreatedb")) {
      if (const auto text = FieldText(*version)) view.setText(field::kWmiVersion, *text);
    }
  }
  const bool reachable = WmiReachable(management);
  view.setText(field::kWmiInstalled, reachable                 ? kWmiInstalled
                                     : management.unanswered() ? kWmiNotAnswering
                                                               : kWmiNotInstalled);
}

void Fill(Platform& platform, View& view) {
  Registry& registry = platform.registry;
  System& system = platform.system;
  ShowWmiStatus(platform.management, view);
  view.setText(field::kOsName, GetOSName(system));
  view.setText(field::kServicePack, CurrentVersion(registry, "CSDVersion"));
  view.setText(field::kBuild, CurrentVersion(registry, "CurrentBuildNumber"));
  view.setText(field::kWindowsPath, GetWindowsPath(system));
  view.setText(field::kProductId, CurrentVersion(registry, "ProductId"));
  view.setText(field::kRegisteredOwner, CurrentVersion(registry, "RegisteredOwner"));
  view.setText(field::kRegisteredOrganization, CurrentVersion(registry, "RegisteredOrganization"));
  view.setText(field::kLoggedOnUser, GetLoggedOnUser(system) + " (" + GetAdminRole(system) + ")");
  view.setText(field::kOsVersion, CurrentVersion(registry, "CurrentVersion"));
  view.setText(field::kSystemPath, GetSystemPath(system));
  view.setText(field::kSourcePath, CurrentVersion(registry, "SourcePath"));
}

}  // namespace velkaro::Windows
