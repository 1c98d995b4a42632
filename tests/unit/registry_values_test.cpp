#include "platform/registry_values.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "text/text.h"

using namespace velkaro;
using namespace velkaro::Regestry;
using namespace std::string_literals;
using fakes::FakeRegistry;

namespace {

RegData Sz(const std::string& utf8, bool terminated = true) {
  std::string bytes = text::Utf8ToUtf16Le(utf8);
  if (terminated) bytes.append(2, '\0');
  return {regtype::kSz, bytes};
}

}  // namespace

TEST(RegPathRule, LastComponentNamesTheValueTheRestItsKeyUnknownRootsAreRejected) {
  const struct {
    const char* path;
    RootKey root;
    const char *key, *value;
  } cases[] = {
      {"HKCU\\SOFTWARE\\Korvandt\\Velkaro", RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro"},
      {"hkey_local_machine\\SOFTWARE\\Fennrick2\\VersionNo", RootKey::LocalMachine,
       "SOFTWARE\\Fennrick2", "VersionNo"},
      {"HKLM\\Value", RootKey::LocalMachine, "", "Value"},
      {"HKCU\\Software\\Key\\", RootKey::CurrentUser, "Software\\Key", ""}};
  for (const auto& c : cases) {
    const auto p = ParseRegPath(c.path);
    ASSERT_TRUE(p) << c.path;
    EXPECT_EQ(p->root, c.root) << c.path;
    EXPECT_EQ(p->key, c.key) << c.path;
    EXPECT_EQ(p->value, c.value) << c.path;
  }
  for (const char* bad : {"", "HKCU", "HKXX\\Software\\Value", "\\Software\\Value",
                          "HKEY_DYN_DATA\\PerfStats\\StatData"})
    EXPECT_FALSE(ParseRegPath(bad)) << bad;
}

TEST(DecodeRegValue, StringsStopAtTheNulBinaryIsSigned16BitMultiStringIsWholeOtherTypesEmpty) {
  const std::pair<RegData, std::string> cases[] = {
      {Sz("Max Mustermann"), "Max Mustermann"},
      {Sz("Müller GmbH"), "Müller GmbH"},
      {Sz("first\0second"s), "first"},
      {Sz("no terminator", false), "no terminator"},
      {{regtype::kSz, ""}, ""},
      {{regtype::kSz, "\0\0"s}, ""},
      {{regtype::kSz, "A"}, ""},  // one byte: half a character
      {{regtype::kBinary, "\x05\x01"}, "261"},
      {{regtype::kBinary, "\xFF\xFF"}, "-1"},
      {{regtype::kBinary, "\x00\x80"s}, "-32768"},
      {{regtype::kBinary, "\xFF"}, "255"},
      {{regtype::kBinary, ""}, "0"},
      {{regtype::kBinary, "\x05\x01\x99\x99\x99"}, "261"},
      {{regtype::kMultiSz, text::Utf8ToUtf16Le("a\0b\0\0"s)}, "a\0b\0\0"s},
      {{regtype::kMultiSz, ""}, ""},
      {{regtype::kDword, "\x01\x00\x00\x00"s}, ""},
      {{regtype::kExpandSz, text::Utf8ToUtf16Le("%SystemRoot%")}, ""},
      {{11, "12345678"}, ""},
  };
  for (const auto& [data, expected] : cases)
    EXPECT_EQ(DecodeRegValue(data), expected) << "type " << data.type << " " << data.bytes.size();
  EXPECT_EQ(DecodeRegValue(std::nullopt), "");
  const std::string big(1 << 20, 'x');  // huge values decode whole
  EXPECT_EQ(DecodeRegValue(Sz(big)), big);
}

TEST(ReadRegValue, ReadsByRootKeyAndNameFallingBackToThe32BitViewOnlyForAMissingHklmValue) {
  FakeRegistry reg;
  const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  reg.put(RootKey::LocalMachine, key, "RegisteredOwner", Sz("Anna"));
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, key, "RegisteredOwner"), "Anna");
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, "SOFTWARE\\Missing", "RegisteredOwner"), "");
  reg.put(RootKey::LocalMachine, "SOFTWARE\\Fennrick2", "VersionNo", Sz("2.1"), RegView::Wow32);
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, "SOFTWARE\\Fennrick2", "VersionNo"), "2.1");
  EXPECT_EQ(ReadRegPath(reg, "HKLM\\SOFTWARE\\Fennrick2\\VersionNo"), "2.1");

  reg.put(RootKey::LocalMachine, "SOFTWARE\\Fennrick2", "VersionNo",
          RegData{regtype::kDword, "\x02\x00\x00\x00"s});
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, "SOFTWARE\\Fennrick2", "VersionNo"), "");

  reg.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Lunavex", Sz("1.0"), RegView::Wow32);
  reg.queries.clear();
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\SOFTWARE\\Korvandt\\Lunavex"), "");
  EXPECT_EQ(reg.queries.size(), 1u);
}

TEST(ReadRegPath, ReadsTheValueBesideTheKeyOfTheSameNameConvertingLikeTheScriptingShell) {
  FakeRegistry reg;
  reg.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", Sz("3.0.06"));
  reg.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Velkaro", "", Sz("default of the key"));
  reg.put(RootKey::CurrentUser, "K", "dword", RegData{regtype::kDword, "\xFF\xFF\xFF\xFF"s});
  reg.put(RootKey::CurrentUser, "K", "expand",
          RegData{regtype::kExpandSz, text::Utf8ToUtf16Le("%TEMP%\0"s)});
  reg.put(RootKey::CurrentUser, "K", "binary", RegData{regtype::kBinary, "\x05\x01"});
  reg.put(RootKey::CurrentUser, "K", "multi", RegData{regtype::kMultiSz, "a\0\0\0"s});
  for (const auto& [path, expected] : {std::pair{"HKCU\\SOFTWARE\\Korvandt\\Velkaro", "3.0.06"},
                                       {"HKCU\\K\\dword", "-1"},
                                       {"HKCU\\K\\expand", "%TEMP%"},
                                       {"HKCU\\K\\binary", ""},
                                       {"HKCU\\K\\multi", ""},
                                       {"HKCU\\K\\missing", ""},
                                       {"no backslash", ""},
                                       {"HKQQ\\SOFTWARE\\x", ""}})
    EXPECT_EQ(ReadRegPath(reg, path), expected) << path;
  EXPECT_EQ(reg.queries.size(), 6u);  // malformed paths never reach the registry
}

TEST(WriteRegPath, WritesStringsAsTerminatedUtf16AndReadsThemBack) {
  FakeRegistry reg;
  ASSERT_TRUE(WriteRegPath(reg, "HKCU\\SOFTWARE\\Korvandt\\Velkaro\\Path",
                           "C:\\Programme\\Größe\\Velkaro.exe", "REG_SZ"));
  ASSERT_EQ(reg.writes.size(), 1u);
  EXPECT_EQ(reg.writes[0].root, RootKey::CurrentUser);
  EXPECT_EQ(reg.writes[0].key, "SOFTWARE\\Korvandt\\Velkaro");
  EXPECT_EQ(reg.writes[0].name, "Path");
  EXPECT_EQ(reg.writes[0].data.type, regtype::kSz);
  EXPECT_EQ(reg.writes[0].data.bytes.substr(reg.writes[0].data.bytes.size() - 2), "\0\0"s);
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\SOFTWARE\\Korvandt\\Velkaro\\Path"),
            "C:\\Programme\\Größe\\Velkaro.exe");
}

TEST(WriteRegPath, DwordTakesDecimalNumbersOnlyAndFailuresReturnFalse) {
  FakeRegistry reg;
  const struct {
    const char *path, *value, *type;
    bool written;
  } cases[] = {{"HKCU\\K\\n", "-1", "REG_DWORD", true},
               {"HKCU\\K\\n", "4294967295", "REG_DWORD", true},
               {"HKCU\\K\\n", "12abc", "REG_DWORD", false},
               {"HKCU\\K\\n", "", "REG_DWORD", false},
               {"HKCU\\K\\n", "4294967296", "REG_DWORD", false},
               {"nobackslash", "x", "REG_SZ", false},
               {"HKZZ\\K\\v", "x", "REG_SZ", false},
               {"HKCU\\K\\v", "x", "REG_QWORD", false}};
  for (const auto& c : cases) {
    const size_t before = reg.writes.size();
    EXPECT_EQ(WriteRegPath(reg, c.path, c.value, c.type), c.written) << c.value << " " << c.type;
    EXPECT_EQ(reg.writes.size(), before + c.written) << c.value << " " << c.type;
  }
  EXPECT_EQ(reg.writes.at(0).data.bytes, "\xFF\xFF\xFF\xFF");
  reg.failWrites = true;
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\v", "x", "REG_SZ"));
}
