#include "collectors/netzwerk.h"

#include "app/fields.h"

#include "collectors/wmi_regimes.h"
#include "platform/registry_values.h"
#include "text/text.h"

namespace velkaro::Netzwerk {

namespace {

struct Browser {
  const char* key;
  const char* kind;
};

// Searched in this order; the first key found anywhere in the path wins.
constexpr Browser kBrowsers[] = {
    {"iexplore", "Microsoft Internet Explorer"},
    {"netscape", "Netscape Communicator"},
    {"frontpg", "Frontpage Editor"},
    {"opera", "Opera-Browser"},
    {"mozilla", "Mozilla-Browser"},
    {"firefox", "Firefox-Browser"},
};

struct Port {
  const char* device;
  PortAccess access;
  int field;
};

constexpr Port kPorts[] = {
    {"COM1", PortAccess::Read, field::kCom1},
    {"COM2", PortAccess::Read, field::kCom2},
    {"COM3", PortAccess::Read, field::kCom3},
    {"LPT1", PortAccess::Write, field::kLpt1},
};

constexpr int kNetworkCardCount = 9;

}  // namespace

std::string BrowserKind(const std::string& executable) {
  const std::string path = text::LowerAscii(executable);
  for (const auto& browser : kBrowsers)
    if (path.find(browser.key) != std::string::npos) return browser.kind;
  return kUnknownBrowser;
}

std::string ProbePath(const std::string& programPath) {
  return text::JoinPath(text::FolderOf(programPath), kProbeFileName);
}

std::string FindExecutableOf(Shell& shell, const std::string& document) {
  const std::string found = text::CutAtNul(shell.findExecutable(document));
  if (text::UpperAscii(found) == text::UpperAscii(document)) return {};
  return found;
}

std::string GetDefaultBrowser(Platform& platform) {
  const std::string probe = ProbePath(platform.system.programPath());
  // Only a document that exists is looked up; whatever happened, none is left behind (the delete
  // never removes a folder of that name).
  const std::string executable =
      platform.devices.createEmptyFile(probe) ? FindExecutableOf(platform.shell, probe) : "";
  platform.devices.deleteFile(probe);
  return executable.empty() ? std::string() : BrowserKind(executable);
}

void ShowMailClient(Registry& registry, View& view) {
  view.setText(field::kMailClient,
               Regestry::FirstSubKeyName(registry, RootKey::LocalMachine, kMailClientsKey));
}

void ProbePorts(Devices& devices, View& view) {
  for (const auto& port : kPorts)
    view.setText(port.field,
                 devices.openPort(port.device, port.access) ? kPortReady : kPortNotReady);
}

void ReadAdapters(Management& management, View& view) {
  // Each value that cannot be read or is not of the expected kind leaves its field as it was.
  const wmi::Query query{"winmgmts:", kAdapterQuery, std::nullopt};
  wmi::Walk(management, view, query, [](wmi::Row& row) {
    row.set(field::kMacAddress, row.text("MACAddress"));
    row.set(field::kIpAddress, row.joined("IPAddress", " "));
    row.set(field::kSubnetMask, row.joined("IPSubnet", " "));
    const auto gateway = row.get("DefaultIPGateway");
    if (gateway && gateway->kind != WmiValue::Kind::Null)
      row.set(field::kGateway, JoinArray(*gateway, " "));
    const auto wins = row.get("WINSPrimaryServer");
    const auto winsText = wins ? FieldText(*wins) : std::nullopt;
    if (winsText && !winsText->empty()) row.set(field::kWinsServer, winsText);
  });
}

void ShowNetworkCard(Registry& registry, View& view) {
  for (int card = 0; card < kNetworkCardCount; ++card) {
    const std::string description = Regestry::ReadRegValue(
        registry, RootKey::LocalMachine,
        std::string(kNetworkCardsKey) + "\\" + std::to_string(card), "Description");
    if (!description.empty()) {
      view.setText(field::kNetworkCard, description);
      return;
    }
    view.setText(field::kNetworkCard, "N/A");
  }
}

void ReadNetworkInfo(Platform& platform, View& view) {
  ShowMailClient(platform.registry, view);
  ProbePorts(platform.devices, view);
  ReadAdapters(platform.management, view);
  ShowNetworkCard(platform.registry, view);
}

void Fill(Platform& platform, View& view) {
  view.setText(field::kBrowser, GetDefaultBrowser(platform));
  ReadNetworkInfo(platform, view);
}

}  // namespace velkaro::Netzwerk
