// The probe document, the shell's program for it and the ports against the real calls.
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "win32/devices_win32.h"
#include "win32/platform_bundle.h"
#include "win32/wide.h"

using namespace velkaro;
using namespace velkaro::win32;

TEST(Win32Shell, FindsTheProgramOfACreatedHtmlDocumentAndNoneForAnUnknownKind) {
  // The harness's prefixes run without Gecko, which drops the .html association.
  HKEY key;
  const bool registered =
      RegOpenKeyExW(HKEY_CLASSES_ROOT, L".html", 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (registered) RegCloseKey(key);
  if (!registered) SHSetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, REG_SZ, L"htmlfile", 18);

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp);
  Win32Devices devices;
  Win32Shell shell;
  const std::string page = folder + "velkaro-probe.html";
  const std::string unknown = folder + "velkaro-probe.velkaro-unknown";
  ASSERT_TRUE(devices.createEmptyFile(page));
  ASSERT_TRUE(devices.createEmptyFile(unknown));
  const std::string program = shell.findExecutable(page);
  EXPECT_EQ(program.size() > 4 ? _stricmp(program.c_str() + program.size() - 4, ".exe") : 1, 0)
      << program;
  EXPECT_NE(GetFileAttributesW(Wide(program).c_str()), INVALID_FILE_ATTRIBUTES) << program;
  EXPECT_EQ(shell.findExecutable(unknown), "");
  EXPECT_TRUE(devices.deleteFile(page));
  EXPECT_TRUE(devices.deleteFile(unknown));
  EXPECT_EQ(shell.findExecutable(page), "");  // a document that is gone has no program

  if (!registered) SHDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
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
