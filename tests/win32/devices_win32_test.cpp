// Devices, the shell's program for a document and key enumeration against the real calls.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

#include <gtest/gtest.h>

#include "collectors/grafik.h"
#include "win32/devices_win32.h"
#include "win32/platform_win32.h"
#include "win32/wide.h"

using namespace velkaro;
using namespace velkaro::win32;

namespace {

// A folder of its own under the temporary folder, removed with its files when the test ends.
class Scratch : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = Narrow(temp) + "velkaro-devices-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
  }
  void TearDown() override {
    const std::wstring wide = Wide(folder) + L'\0';  // SHFileOperation wants a double NUL
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = wide.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  std::string Path(const std::string& name) const { return folder + "\\" + name; }
  static DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str());
  }
  static void Write(const std::string& path, const std::string& bytes) {
    HANDLE f =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
  }
  std::string folder;
  Win32Devices devices;
};

// Registers .html as an HTML document while the test runs (the harness's prefixes run without
// Gecko, which drops the association).
struct HtmlAssociation {
  HtmlAssociation() {
    HKEY key;
    created = RegOpenKeyExW(HKEY_CLASSES_ROOT, L".html", 0, KEY_READ, &key) != ERROR_SUCCESS;
    if (!created) RegCloseKey(key);
    if (created) SHSetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, REG_SZ, L"htmlfile", 18);
  }
  ~HtmlAssociation() {
    if (created) SHDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
  }
  bool created;
};

}  // namespace

TEST_F(Scratch, TheProbeDocumentIsCreatedEmptyAndDeletedButAFolderIsLeftAlone) {
  const std::string probe = Path("test~12345.html");
  Write(probe, "left by a crash");
  ASSERT_TRUE(devices.createEmptyFile(probe));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(Wide(probe).c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 0u);
  EXPECT_TRUE(devices.deleteFile(probe));
  EXPECT_EQ(Attributes(probe), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(devices.deleteFile(probe));

  ASSERT_TRUE(CreateDirectoryW(Wide(probe).c_str(), nullptr));
  EXPECT_FALSE(devices.createEmptyFile(probe));
  EXPECT_FALSE(devices.deleteFile(probe));
  EXPECT_NE(Attributes(probe) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Scratch, TheShellFindsTheProgramOfAnHtmlDocumentAndNoneForAnUnknownKind) {
  HtmlAssociation html;
  Win32Shell shell;
  const std::string page = Path("test~12345.html");
  ASSERT_TRUE(devices.createEmptyFile(page));
  const std::string program = shell.findExecutable(page);
  EXPECT_TRUE(program.size() > 4 && _stricmp(program.c_str() + program.size() - 4, ".exe") == 0)
      << program;
  EXPECT_NE(Attributes(program), INVALID_FILE_ATTRIBUTES) << program;

  const std::string unknown = Path("probe.velkaro-unknown");
  ASSERT_TRUE(devices.createEmptyFile(unknown));
  EXPECT_EQ(shell.findExecutable(unknown), "");
  EXPECT_EQ(shell.findExecutable(Path("missing.html")), "");
}

TEST(Win32Devices, PortsOpenExactlyWhenWineMapsThemToADevice) {
  // Wine maps COM1 to the host's /dev/ttyS0 (which root may open) when there is one; the other
  // ports of a default prefix have no device. A port that opens is closed again: it opens twice.
  Win32Devices devices;
  for (const auto& [name, access] :
       {std::pair{"COM1", PortAccess::Read}, std::pair{"COM2", PortAccess::Read},
        std::pair{"COM5", PortAccess::Read}, std::pair{"LPT1", PortAccess::Write}}) {
    wchar_t target[512];
    const bool mapped = QueryDosDeviceW(Wide(name).c_str(), target, 512) != 0;
    EXPECT_EQ(devices.openPort(name, access), mapped) << name;
    EXPECT_EQ(devices.openPort(name, access), mapped) << name;
  }
}

TEST(Win32Devices, ScreenMeasuresTheWholeScreenInTwips) {
  Win32Devices devices;
  const ScreenMetrics screen = devices.screen();
  HDC dc = GetDC(nullptr);
  EXPECT_DOUBLE_EQ(screen.twipsPerPixelX, 1440.0 / GetDeviceCaps(dc, LOGPIXELSX));
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(Grafik::ResolutionText(screen), std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                                                std::to_string(GetSystemMetrics(SM_CYSCREEN)));
}

TEST(Win32Registry, SubKeysEnumerateByIndex) {
  const std::wstring key = L"Software\\VelkaroEnum" + std::to_wstring(GetCurrentProcessId());
  for (const wchar_t* sub : {L"\\Native Mail Client", L"\\Zweiter Client"}) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key + sub).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(h);
  }
  Win32Registry registry;
  const std::string name = Narrow(key);
  EXPECT_EQ(registry.subKeyName(RootKey::CurrentUser, name, 0, RegView::Native),
            "Native Mail Client");
  EXPECT_EQ(registry.subKeyName(RootKey::CurrentUser, name, 1, RegView::Native), "Zweiter Client");
  EXPECT_FALSE(registry.subKeyName(RootKey::CurrentUser, name, 2, RegView::Native));
  EXPECT_FALSE(
      registry.subKeyName(RootKey::CurrentUser, name + "\\Native Mail Client", 0, RegView::Native));
  SHDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  EXPECT_FALSE(registry.subKeyName(RootKey::CurrentUser, name, 0, RegView::Native));
}
