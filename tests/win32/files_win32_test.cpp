// The report's file against the real calls: what a run finds when it starts (versions left by
// runs ended mid-way, an old report that cannot be replaced) and a rename that meets a hold.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "win32/files_win32.h"
#include "win32/wide.h"

using namespace velkaro;
using namespace velkaro::win32;

namespace {

// A folder of its own under the temporary folder, with the report's name in it; removed with
// everything in it when the test ends.
class ReportFolder : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, temp));
    folder = std::wstring(temp) + L"velkaro-files-" + std::to_wstring(GetCurrentProcessId());
    Clear();
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    target = Narrow(folder) + "\\SystemInfo.txt";
  }
  void TearDown() override {
    for (HANDLE h : holders) CloseHandle(h);
    Clear();
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "folder left";
  }
  void Clear() {
    for (const auto& name : Names()) {
      const std::wstring path = folder + L"\\" + Wide(name);
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(path.c_str())) RemoveDirectoryW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
  }
  std::wstring Path(const std::string& name) const { return folder + L"\\" + Wide(name); }
  void Put(const std::string& name, const std::string& bytes) {
    HANDLE h =
        CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  // The bytes of a file, or "(missing)".
  std::string Bytes(const std::string& name) const {
    HANDLE h = CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "(missing)";
    char buffer[256];
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(h);
    return std::string(buffer, got);
  }
  // Opens a file as another program would, with the given sharing; closed at the test's end.
  HANDLE Hold(const std::string& name, DWORD access, DWORD sharing) {
    HANDLE h = CreateFileW(Path(name).c_str(), access, sharing, nullptr, OPEN_ALWAYS, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << name;
    holders.push_back(h);
    return h;
  }
  void Release(HANDLE h) {
    CloseHandle(h);
    holders.erase(std::find(holders.begin(), holders.end(), h));
  }
  // The folder's entries, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Narrow(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
  }
  // The entries named as a new version of the report is: "SystemInfo.txt.", 16 digits, ".tmp".
  std::vector<std::string> Versions() const {
    std::vector<std::string> versions;
    for (const auto& name : Names())
      if (name.size() == 35 && name.rfind("SystemInfo.txt.", 0) == 0 &&
          name.compare(31, 4, ".tmp") == 0 && name.find_first_not_of("0123456789abcdef", 15) == 31)
        versions.push_back(name);
    return versions;
  }

  Win32TextFiles files;
  std::wstring folder;
  std::string target;
  std::vector<HANDLE> holders;
};

}  // namespace

TEST_F(ReportFolder, ARunRemovesVersionsLeftByEarlierRunsButNoOtherNamesAndNoneHeldByAnother) {
  const std::vector<std::string> left = {"SystemInfo.txt.0123456789abcdef.tmp",
                                         "SystemInfo.txt.fedcba9876543210.tmp"};
  const std::vector<std::string> others = {
      "Other.txt.0123456789abcdef.tmp",          "SystemInfo.txt.0123456789abcde.tmp",
      "SystemInfo.txt.0123456789abcdef0.tmp",    "SystemInfo.txt.0123456789abcdeg.tmp",
      "SystemInfo.txt.0123456789abcdef.tmp.bak", "SystemInfo.txt.AAAABBBBCCCCDDDD.tmp",
      "SystemInfo.txt_0123456789abcdef.tmp",     "SystemInfo.txt.0123456789abcdef.txt"};
  for (const auto& name : left) Put(name, "left by a run that was ended");
  for (const auto& name : others) Put(name, "not a version");
  const std::string folderNamed = "SystemInfo.txt.1111111111111111.tmp";
  ASSERT_TRUE(CreateDirectoryW(Path(folderNamed).c_str(), nullptr));
  // Another copy of the program has started its report (removing what was left) and writes its
  // version; this run's start must leave that one alone.
  CreatedFile other = files.create(target);
  ASSERT_TRUE(other.file) << other.error.code;
  CreatedFile created = files.create(target);
  ASSERT_TRUE(created.file) << created.error.code;
  std::vector<std::string> expected = others;
  expected.push_back(folderNamed);
  const std::vector<std::string> versions = Versions();
  ASSERT_EQ(versions.size(), 3u);  // the folder, the other copy's and this run's
  for (const auto& name : versions)
    if (name != folderNamed) expected.push_back(name);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(), expected);
  // Dropped, each version goes.
  created.file.reset();
  other.file.reset();
  EXPECT_EQ(Versions(), std::vector<std::string>{folderNamed});
}

TEST_F(ReportFolder, AReadOnlyReportOrOneHeldWithoutDeleteSharingIsRefusedAtOnceAndKept) {
  Put("SystemInfo.txt", "the earlier report");
  ASSERT_TRUE(SetFileAttributesW(Path("SystemInfo.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  CreatedFile created = files.create(target);
  EXPECT_FALSE(created.file);
  EXPECT_EQ(created.error.code, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(created.error.reason.empty());
  EXPECT_EQ(Bytes("SystemInfo.txt"), "the earlier report");
  EXPECT_EQ(Versions(), std::vector<std::string>{});
  ASSERT_TRUE(SetFileAttributesW(Path("SystemInfo.txt").c_str(), FILE_ATTRIBUTE_NORMAL));

  // An editor that has it open and does not let it be deleted.
  HANDLE editor = Hold("SystemInfo.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  created = files.create(target);
  EXPECT_FALSE(created.file);
  EXPECT_EQ(created.error.code, static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(Bytes("SystemInfo.txt"), "the earlier report");
  EXPECT_EQ(Versions(), std::vector<std::string>{});
  Release(editor);

  // Let go, it is replaced.
  created = files.create(target);
  ASSERT_TRUE(created.file);
  EXPECT_FALSE(created.file->write("der neue Bericht\r\n"));
  EXPECT_FALSE(created.file->commit());
  EXPECT_EQ(Bytes("SystemInfo.txt"), "der neue Bericht\r\n");
  EXPECT_EQ(Versions(), std::vector<std::string>{});
}

TEST_F(ReportFolder, ARenameThatMeetsAHoldSaysItIsWorthRetryingAndSucceedsOnceTheHoldIsGone) {
  Put("SystemInfo.txt", "the earlier report");
  CreatedFile created = files.create(target);
  ASSERT_TRUE(created.file);
  ASSERT_FALSE(created.file->write("der neue Bericht\r\n"));

  // A scanner holds the earlier report, then the new version; each time it stays as it was.
  HANDLE scanner = Hold("SystemInfo.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  auto error = created.file->commit();
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->retry) << error->code;
  EXPECT_EQ(Bytes("SystemInfo.txt"), "the earlier report");
  Release(scanner);
  ASSERT_EQ(Versions().size(), 1u);
  const std::string version = Versions()[0];
  EXPECT_EQ(Bytes(version), "der neue Bericht\r\n");
  scanner = Hold(version, GENERIC_READ, FILE_SHARE_READ);
  error = created.file->commit();
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->retry) << error->code;
  EXPECT_EQ(Bytes("SystemInfo.txt"), "the earlier report");
  Release(scanner);

  EXPECT_FALSE(created.file->commit());
  EXPECT_EQ(Bytes("SystemInfo.txt"), "der neue Bericht\r\n");
  EXPECT_EQ(Versions(), std::vector<std::string>{});
  EXPECT_FALSE(created.file->commit());  // committed already

  // A version that is gone is no hold: not worth trying again.
  created = files.create(target);
  ASSERT_TRUE(created.file);
  scanner = Hold("SystemInfo.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(created.file->commit());
  Release(scanner);
  ASSERT_EQ(Versions().size(), 1u);
  ASSERT_TRUE(DeleteFileW(Path(Versions()[0]).c_str()));
  error = created.file->commit();
  ASSERT_TRUE(error);
  EXPECT_FALSE(error->retry) << error->code;
  created.file.reset();
  EXPECT_EQ(Bytes("SystemInfo.txt"), "der neue Bericht\r\n");
}

TEST_F(ReportFolder, AReadStopsAtItsLimitAndTurnsTheAnsiCodePageIntoText) {
  // "Größe" in Windows-1252 (the prefix's code page), then more than the limit lets in.
  Put("dx.txt",
      "Gr\xF6\xDF"
      "e and more");
  EXPECT_EQ(files.read(Narrow(Path("dx.txt")), 5), "Größe");
  EXPECT_EQ(files.read(Narrow(Path("dx.txt")), 1 << 20), "Größe and more");
  EXPECT_EQ(files.read(Narrow(Path("missing.txt")), 5), std::nullopt);
}
