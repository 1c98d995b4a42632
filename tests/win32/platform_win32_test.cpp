// The Windows implementations of the platform services against the real calls.
#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "app/prgkern.h"
#include "platform/registry_values.h"
#include "report/report_table.h"
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

std::string TempPath(const std::string& name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return Narrow(folder) + name + "_" + std::to_string(GetCurrentProcessId());
}

std::string RawBytes(const std::string& path) {
  std::string bytes;
  HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(f);
  return bytes;
}

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

TEST(Win32System, ReportsVersionUserAndFolders) {
  Win32System system;
  const auto extended = system.versionInfo(156);
  ASSERT_TRUE(extended);
  EXPECT_EQ(extended->platformId, 2u);
  EXPECT_GE(extended->major, 5u);
  EXPECT_EQ(extended->servicePack.size(), 128u);
  const auto plain = system.versionInfo(148);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->major, extended->major);
  EXPECT_FALSE(system.versionInfo(100));

  const auto user = system.userName(256);
  ASSERT_TRUE(user);
  EXPECT_FALSE(text::CutAtNul(*user).empty());
  EXPECT_TRUE(system.isNTAdmin().has_value());

  EXPECT_FALSE(system.windowsDirectory().empty());
  EXPECT_FALSE(text::EndsWith(system.windowsDirectory(), "\\"));
  EXPECT_EQ(system.systemDirectory().rfind(system.windowsDirectory() + "\\", 0), 0u);
  EXPECT_TRUE(text::EndsWith(text::LowerAscii(system.programPath()), "\\win32_tests.exe"));
}

TEST(Win32TextFiles, ReadsAnsiTextAsUtf8WithinTheLimit) {
  const std::string path = TempPath("velkaro_text");
  HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  const std::string bytes =
      "Gr\xF6\xDF"
      "e\r\n\0end"s;
  DWORD written;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);

  Win32TextFiles files;
  EXPECT_EQ(files.read(path, 1024), "Größe\r\n\0end"s);
  EXPECT_EQ(files.read(path, 3), "Grö");
  DeleteFileW(Wide(path).c_str());
  EXPECT_FALSE(files.read(path, 1024));
}

// The new versions of a file that were left beside it.
int Leftovers(const std::string& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Wide(path) + L".*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int n = 1;
  while (FindNextFileW(search, &found)) ++n;
  FindClose(search);
  return n;
}

TEST(Win32TextFiles, ANewVersionReplacesTheFileWhenCommittedInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1252u);
  const std::string path = TempPath("velkaro_report");
  Win32TextFiles files;
  {
    CreatedFile old = files.create(path);
    ASSERT_TRUE(old.file);
    ASSERT_FALSE(old.file->write("an earlier, longer report\r\n"));
    ASSERT_FALSE(old.file->commit());
  }
  CreatedFile created = files.create(path);
  ASSERT_TRUE(created.file);
  // Every report caption with a character beyond ASCII becomes one byte per character.
  std::string expected;
  for (const auto& section : Report::Sections()) {
    for (const auto& line : section.lines) {
      const std::string caption = line.caption;
      if (std::all_of(caption.begin(), caption.end(), [](char c) { return c > 0; })) continue;
      ASSERT_FALSE(created.file->write(caption + "\t\r\n"));
      const std::wstring wide = Wide(caption);
      for (wchar_t c : wide) expected += static_cast<char>(c);  // all of them are Latin-1
      expected += "\t\r\n";
    }
  }
  EXPECT_EQ(RawBytes(path), "an earlier, longer report\r\n");  // untouched until committed
  EXPECT_EQ(Leftovers(path), 1);
  EXPECT_FALSE(created.file->commit());
  EXPECT_FALSE(created.file->commit());  // committing again is no error
  created.file.reset();
  EXPECT_EQ(RawBytes(path),
            "Bildschirm Aufl\xF6sung:\t\r\nFarbaufl\xF6sung:\t\r\n"
            "Max. gr\xF6\xDF"
            "e der Auslagerungsdatei:\t\r\nFree gr\xF6\xDF"
            "e der Auslagerungsdatei:\t\r\n");
  EXPECT_EQ(RawBytes(path), expected);
  EXPECT_EQ(Leftovers(path), 0);

  // A version dropped before its commit leaves the file as it was and nothing of itself.
  CreatedFile dropped = files.create(path);
  ASSERT_TRUE(dropped.file);
  ASSERT_FALSE(dropped.file->write("half a report"));
  dropped.file.reset();
  EXPECT_EQ(RawBytes(path), expected);
  EXPECT_EQ(Leftovers(path), 0);
  DeleteFileW(Wide(path).c_str());
}

TEST(Win32TextFiles, FailuresComeBackWithTheErrorAndItsDescription) {
  Win32TextFiles files;
  // A folder of the file's name cannot be replaced: creating fails at once and it stays.
  const std::string folder = TempPath("velkaro_folder");
  ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
  CreatedFile onFolder = files.create(folder);
  EXPECT_FALSE(onFolder.file);
  EXPECT_EQ(onFolder.error.code, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(onFolder.error.reason.empty());

  // A folder that appears while the version is written: the commit fails, the folder stays and
  // the version goes.
  const std::string late = TempPath("velkaro_late");
  CreatedFile version = files.create(late);
  ASSERT_TRUE(version.file);
  ASSERT_FALSE(version.file->write("Betriebsystem:\t\t\t\tWindows\r\n"));
  ASSERT_TRUE(CreateDirectoryW(Wide(late).c_str(), nullptr));
  const auto error = version.file->commit();
  ASSERT_TRUE(error);
  EXPECT_NE(error->code, 0u);
  EXPECT_FALSE(error->reason.empty());
  version.file.reset();
  EXPECT_EQ(Leftovers(late), 0);
  EXPECT_TRUE(RemoveDirectoryW(Wide(late).c_str()));
  EXPECT_TRUE(RemoveDirectoryW(Wide(folder).c_str()));
}

TEST(Win32Shell, StartsProgramsAndReportsMissingOnes) {
  Win32Shell shell;
  EXPECT_TRUE(shell.start("cmd.exe /c exit 0", WindowStyle::Hidden));
  EXPECT_FALSE(shell.start("velkaro-no-such-program.exe", WindowStyle::NormalFocus));
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
  ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0));
  pump.setSystemLoop(true);
  EXPECT_TRUE(pump.doEvents());
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
  pump.setSystemLoop(false);
  EXPECT_TRUE(pump.doEvents());
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
}
