#include "app/splash.h"

#include "app/prgkern.h"
#include "platform/registry_values.h"
#include "text/text.h"

namespace velkaro {

namespace Splash {

std::string RecordedProgramPath(const std::string& programPath) {
  return text::JoinPath(text::FolderOf(programPath), text::StemOf(programPath) + ".exe");
}

bool UpdateRegistryRecord(Registry& registry, const std::string& programPath) {
  if (Regestry::ReadRegPath(registry, kRecordPath) == kVersion) return false;
  Regestry::WriteRegPath(registry, kRecordPath, kVersion, "REG_SZ");
  Regestry::WriteRegPath(registry, kVersionPath, kVersion, "REG_SZ");
  Regestry::WriteRegPath(registry, kPathPath, RecordedProgramPath(programPath), "REG_SZ");
  return true;
}

std::string DumpPath(const std::string& programPath) {
  return text::JoinPath(text::FolderOf(programPath), "dx.txt");
}

std::string DxDiagCommand(const std::string& dumpPath) {
  const bool quote = dumpPath.find(' ') != std::string::npos;
  return std::string("dxdiag.exe ") + (quote ? "\"" + dumpPath + "\"" : dumpPath);
}

std::string ExtractDirectXVersion(std::string_view dump) {
  static constexpr std::string_view kKey = "DirectXVersion:";
  std::string found;
  size_t start = 0;
  while (start < dump.size()) {
    size_t end = dump.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = dump.size();
    const std::string_view line = dump.substr(start, end - start);
    // The line's characters without blanks, compared with the key after each position.
    size_t matched = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == ' ') continue;
      if (line[i] != kKey[matched]) break;
      if (++matched == kKey.size()) {
        found.append(line.substr(i + 1));
        break;
      }
    }
    // CR LF, a lone CR and a lone LF each end a line.
    start = end + ((end + 1 < dump.size() && dump[end] == '\r' && dump[end + 1] == '\n') ? 2 : 1);
  }
  return found;
}

}  // namespace Splash

StartUp::StartUp(Platform& platform, AppState& state, SplashScreen& splash, MainWindow& main)
    : platform_(platform), state_(state), splash_(splash), main_(main) {}

void StartUp::Splash_Load() {
  splash_.show();
  const std::string programPath = platform_.system.programPath();
  Splash::UpdateRegistryRecord(platform_.registry, programPath);

  const std::string dumpPath = Splash::DumpPath(programPath);
  platform_.shell.start(Splash::DxDiagCommand(dumpPath), WindowStyle::MinimizedFocus);

  // The tool is never waited for: what dx.txt holds a second later is read, and one failure
  // to open or read it is retried once, a second later again.
  for (int attempt = 0; attempt < 2; ++attempt) {
    PrgKern::Pause(platform_.clock, platform_.pump, 1);
    const auto dump = platform_.files.read(dumpPath, Splash::kMaxDumpBytes);
    if (!dump) continue;
    state_.DirectXVersion += Splash::ExtractDirectXVersion(*dump);
    break;
  }

  // The main window is made ready while the splash still shows, so that the hand-over shows it
  // complete at once.
  if (!handedOver_) LoadMain();
}

void StartUp::Splash_Timer1() {
  if (handedOver_) return;
  handedOver_ = true;
  LoadMain();
  splash_.close();
  main_.show();
}

void StartUp::LoadMain() {
  if (mainLoaded_) return;
  mainLoaded_ = true;
  main_.load();
}

}  // namespace velkaro
