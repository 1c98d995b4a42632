// The platform services implemented with Windows calls.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace velkaro::win32 {

class Win32Registry : public Registry {
 public:
  std::optional<RegData> queryValue(RootKey root, const std::string& subKey,
                                    const std::string& name, RegView view) override;
  std::optional<std::string> subKeyName(RootKey root, const std::string& subKey, uint32_t index,
                                        RegView view) override;
  bool setValue(RootKey root, const std::string& subKey, const std::string& name,
                const RegData& data) override;
};

class Win32System : public System {
 public:
  std::optional<VersionRecord> versionInfo(uint32_t recordSize) override;
  std::optional<std::string> userName(uint32_t bufferChars) override;
  std::optional<bool> isNTAdmin() override;
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  std::string programPath() override;
};

class Win32Shell : public Shell {
 public:
  bool start(const std::string& commandLine, WindowStyle style) override;
  std::string findExecutable(const std::string& document) override;
};

class Win32Clock : public Clock {
 public:
  double monotonicSeconds() override;
  uint64_t uptimeMilliseconds() override;
  LocalTime localTime() override;
};

class Win32TextFiles : public TextFiles {
 public:
  std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override;
  CreatedFile create(const std::string& path) override;
};

// The platform's description of an error number (UTF-8, without its line end).
FileError DescribeError(DWORD code);

// The thread's message loop. Dialog keys (Tab between fields) go to the window set as the
// dialog window.
class MessagePump : public EventPump {
 public:
  bool doEvents() override;
  bool waitEvents(double maxSeconds) override;
  // Waits until the handle is signalled, processing window events meanwhile, for at most
  // maxSeconds; true when it was signalled. False at once when the program is ending.
  bool waitFor(HANDLE handle, double maxSeconds);
  bool ending() const { return ending_; }
  // Ends the loops: handlers that pump events see the end and wind down, then run() returns.
  void quit(int exitCode);
  // Runs until the program ends; returns the exit code.
  int run();
  void setDialogWindow(HWND hwnd) { dialog_ = hwnd; }
  // While the system's own loop moves a window, that loop takes the events: a handler it
  // dispatches (a timer tick) leaves them to it, so the move sees its mouse and button-up.
  void setSystemLoop(bool running) { systemLoop_ = running; }

 private:
  void Dispatch(MSG& msg);
  HWND dialog_ = nullptr;
  bool ending_ = false;
  bool systemLoop_ = false;
};

}  // namespace velkaro::win32
