// The registry, the system's facts, the shell, the clock and the message pump against the real
// calls.
#include <windows.h>
#include <shlwapi.h>

#include <string>

#include <gtest/gtest.h>

#include "app/prgkern.h"
#include "platform/registry_values.h"
#include "text/text.h"
#include "win32/platform_bundle.h"
#include "win32/wide.h"

using namespace velkaro;
using namespace velkaro::win32;
using namespace std::string_literals;

namespace {

// A key of its own under HKCU, deleted with everything below it when the test ends.
class ScratchKey : public testing::Test {
 protected:
  void SetUp() override {
    key = "Software\\VelkaroTest\\" + std::to_string(GetCurrentProcessId());
    SHDeleteKeyW(HKEY_CURRENT_USER, Wide(key).c_str());
  }
  void TearDown() override {
    SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VelkaroTest");
    HKEY probe;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VelkaroTest", 0, KEY_READ, &probe),
              ERROR_SUCCESS)
        << "scratch key left behind";
  }
  void SetRaw(const std::string& name, DWORD type, const std::string& bytes) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(
        RegSetValueExW(h, Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())),
        ERROR_SUCCESS);
    RegCloseKey(h);
  }
  std::string Read(const std::string& name) {
    return Regestry::ReadRegValue(registry, RootKey::CurrentUser, key, name);
  }
  std::string key;
  Win32Registry registry;
};

}  // namespace

TEST_F(ScratchKey, WritesByPathCreatingKeysAndReadsEveryTypeBack) {
  const std::string path = "HKCU\\" + key + "\\Deeper\\Level\\Wert";
  ASSERT_TRUE(Regestry::WriteRegPath(registry, path, "Größe 3.0.06", "REG_SZ"));
  EXPECT_EQ(Regestry::ReadRegPath(registry, path), "Größe 3.0.06");
  // The path's last component is a value beside the key of the same name, not the key.
  ASSERT_TRUE(Regestry::WriteRegPath(registry, "HKCU\\" + key + "\\Deeper", "beside", "REG_SZ"));
  EXPECT_EQ(Regestry::ReadRegValue(registry, RootKey::CurrentUser, key, "Deeper"), "beside");
  std::string big(2u << 20, '\x01');
  big[0] = '\x10';
  big[1] = '\x00';
  const struct {
    const char* name;
    DWORD type;
    std::string bytes, expected;
  } cases[] = {{"bin", REG_BINARY, "\x05\x01", "261"},
               {"big", REG_BINARY, big, "16"},
               {"multi", REG_MULTI_SZ, text::Utf8ToUtf16Le("a\0b\0\0"s), "a\0b\0\0"s},
               {"dword", REG_DWORD, "\x2A\x00\x00\x00"s, ""},
               {"unterminated", REG_SZ, text::Utf8ToUtf16Le("no NUL"), "no NUL"}};
  for (const auto& c : cases) SetRaw(c.name, c.type, c.bytes);
  for (const auto& c : cases) EXPECT_EQ(Read(c.name), c.expected) << c.name;
  EXPECT_EQ(Read("missing"), "");
  EXPECT_EQ(Regestry::ReadRegPath(registry, "HKCU\\" + key + "\\dword"), "42");
  EXPECT_FALSE(registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\VelkaroNoSuchKey", "x",
                                   RegView::Wow32));
}

TEST(Win32System, VersionRecordsFoldersUserShellAndClock) {
  Win32System system;
  const auto extended = system.versionInfo(156), plain = system.versionInfo(148);
  ASSERT_TRUE(extended && plain);
  EXPECT_EQ(extended->platformId, 2u);
  EXPECT_EQ(plain->major, extended->major);
  EXPECT_EQ(extended->servicePack.size(), 128u);
  EXPECT_FALSE(system.versionInfo(100));
  EXPECT_FALSE(text::CutAtNul(system.userName(256).value_or("")).empty());
  EXPECT_FALSE(system.windowsDirectory().empty() ||
               text::EndsWith(system.windowsDirectory(), "\\"));
  EXPECT_EQ(system.systemDirectory().rfind(system.windowsDirectory() + "\\", 0), 0u);
  Win32Shell shell;
  EXPECT_TRUE(shell.start("cmd.exe /c exit 0", WindowStyle::Hidden));
  EXPECT_FALSE(shell.start("velkaro-no-such-program.exe", WindowStyle::NormalFocus));
  // The uptime's low 32 bits are the tick count (read after it: the count never runs back).
  const auto uptime = static_cast<DWORD>(Win32Clock().uptimeMilliseconds());
  EXPECT_LT(GetTickCount() - uptime, 1000u);
}

namespace {

int g_ticks;

// A timer procedure: stdcall on 32-bit Windows, which a lambda cannot be.
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
  ++g_ticks;
}

}  // namespace

TEST(MessagePump, PauseProcessesEventsEndsWithTheProgramAndLeavesEventsToAMoveLoop) {
  Win32Clock clock;
  MessagePump pump;
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  g_ticks = 0;
  SetTimer(window, 1, 10, CountTick);
  const double start = clock.monotonicSeconds();
  PrgKern::Pause(clock, pump, 0.2);
  const double elapsed = clock.monotonicSeconds() - start;
  EXPECT_GE(elapsed, 0.2);
  EXPECT_GT(g_ticks, 0);
  KillTimer(window, 1);

  PostQuitMessage(3);
  EXPECT_FALSE(pump.doEvents());
  // The quit request stays for the outermost loop.
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);

  // The program's own end: every loop, nested or outermost, sees it.
  MessagePump ending;
  ending.quit(4);
  EXPECT_FALSE(ending.waitEvents(5));
  EXPECT_FALSE(ending.doEvents());
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 4u);
  DestroyWindow(window);

  // While the system's own loop moves a window, the events are left to it.
  MessagePump moving;
  ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0));
  moving.setSystemLoop(true);
  EXPECT_TRUE(moving.doEvents());
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
  moving.setSystemLoop(false);
  EXPECT_TRUE(moving.doEvents());
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
}

TEST(Win32Devices, PortsOpenExactlyWhenWineMapsThemToADeviceAndNoOneHoldsThem) {
  // Wine maps COM1 to the host's /dev/ttyS0 when there is one; the other ports of a default
  // prefix have no device. A port that opens is closed again: it opens twice.
  Win32Devices devices;
  for (const auto& [name, access] :
       {std::pair{"COM1", PortAccess::Read}, std::pair{"COM5", PortAccess::Read},
        std::pair{"LPT1", PortAccess::Write}}) {
    wchar_t target[512];
    const bool mapped = QueryDosDeviceW(Wide(name).c_str(), target, 512) != 0;
    EXPECT_EQ(devices.openPort(name, access), mapped) << name;
    EXPECT_EQ(devices.openPort(name, access), mapped) << name;
  }
  // One that another program holds open is not ready, even when that program shares it.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring held = std::wstring(temp) + L"velkaro-held-port";
  HANDLE holder =
      CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(devices.openPort(Narrow(held), PortAccess::Read));
  CloseHandle(holder);
  EXPECT_TRUE(devices.openPort(Narrow(held), PortAccess::Read));
  EXPECT_TRUE(devices.openPort(Narrow(held), PortAccess::Read));  // the probe let go of it
  DeleteFileW(held.c_str());
}
