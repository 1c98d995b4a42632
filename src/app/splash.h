// Start-up: the splash's load action (registry record, DirectX dump) and the hand-over to the
// main window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "platform/platform.h"
#include "velkaro_version.h"

namespace velkaro {

namespace Splash {

inline constexpr const char* kVersion = VELKARO_VERSION_TEXT;
inline constexpr const char* kRecordPath = "HKCU\\SOFTWARE\\Korvandt\\Velkaro";
inline constexpr const char* kVersionPath = "HKCU\\SOFTWARE\\Korvandt\\Velkaro\\Version";
inline constexpr const char* kPathPath = "HKCU\\SOFTWARE\\Korvandt\\Velkaro\\Path";
inline constexpr int kHandOverMs = 3000;
// A real dump is a few kilobytes; anything beyond this is not read.
inline constexpr std::size_t kMaxDumpBytes = 4u << 20;

// The program file as the record stores it: its folder, "\", its name without extension, ".exe".
std::string RecordedProgramPath(const std::string& programPath);

// Writes the program's registry record (version twice, then the program path) unless the stored
// version is already this one, so that a moved program keeps its old path. True when it wrote.
bool UpdateRegistryRecord(Registry& registry, const std::string& programPath);

// dx.txt in the program's folder.
std::string DumpPath(const std::string& programPath);

// The diagnostic tool's command line: the tool, one blank, the dump path. The path is quoted
// only when it holds a blank, which the tool would otherwise take as two arguments.
std::string DxDiagCommand(const std::string& dumpPath);

// What a dump contributes to the DirectX version: for each line that begins, once its blanks
// are dropped, with "DirectXVersion:", all of the line after that colon.
std::string ExtractDirectXVersion(std::string_view dump);

}  // namespace Splash

// The splash window as the start-up sequence sees it.
class SplashScreen {
 public:
  virtual ~SplashScreen() = default;
  virtual void show() = 0;   // shows and paints it at once
  virtual void close() = 0;  // closes and destroys it
};

// The main window as the start-up sequence sees it.
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  virtual void load() = 0;  // creates the window hidden and runs its load sequence
  virtual void show() = 0;
};

class StartUp {
 public:
  StartUp(Platform& platform, AppState& state, SplashScreen& splash, MainWindow& main);

  // The splash's load action.
  void Splash_Load();
  // The splash's 3000 ms timer: closes the splash and shows the main window.
  void Splash_Timer1();

 private:
  void LoadMain();

  Platform& platform_;
  AppState& state_;
  SplashScreen& splash_;
  MainWindow& main_;
  bool mainLoaded_ = false;
  bool handedOver_ = false;
};

}  // namespace velkaro
