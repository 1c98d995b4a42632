#include "platform/regestry.h"

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

TEST(RegPathRule, LastComponentNamesTheValueTheRestItsKey) {
  const auto p = ParseRegPath("HKCU\\SOFTWARE\\Korvandt\\Velkaro");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->root, RootKey::CurrentUser);
  EXPECT_EQ(p->key, "SOFTWARE\\Korvandt");
  EXPECT_EQ(p->value, "Velkaro");

  const auto lm = ParseRegPath("hkey_local_machine\\SOFTWARE\\Fennrick2\\VersionNo");
  ASSERT_TRUE(lm);
  EXPECT_EQ(lm->root, RootKey::LocalMachine);
  EXPECT_EQ(lm->key, "SOFTWARE\\Fennrick2");

  const auto rootValue = ParseRegPath("HKLM\\Value");
  ASSERT_TRUE(rootValue);
  EXPECT_EQ(rootValue->key, "");
  EXPECT_EQ(rootValue->value, "Value");

  const auto defaultValue = ParseRegPath("HKCU\\Software\\Key\\");
  ASSERT_TRUE(defaultValue);
  EXPECT_EQ(defaultValue->key, "Software\\Key");
  EXPECT_EQ(defaultValue->value, "");
}

TEST(RegPathRule, PathsWithoutBackslashOrWithUnknownRootAreRejected) {
  EXPECT_FALSE(ParseRegPath(""));
  EXPECT_FALSE(ParseRegPath("HKCU"));
  EXPECT_FALSE(ParseRegPath("HKXX\\Software\\Value"));
  EXPECT_FALSE(ParseRegPath("\\Software\\Value"));
  EXPECT_FALSE(ParseRegPath("HKEY_DYN_DATA\\PerfStats\\StatData"));
}

TEST(DecodeRegValue, StringsStopAtTheFirstNul) {
  EXPECT_EQ(DecodeRegValue(Sz("Max Mustermann")), "Max Mustermann");
  EXPECT_EQ(DecodeRegValue(Sz("Müller GmbH")), "Müller GmbH");
  EXPECT_EQ(DecodeRegValue(Sz("first\0second"s)), "first");
  EXPECT_EQ(DecodeRegValue(Sz("no terminator", false)), "no terminator");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kSz, ""}), "");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kSz, "\0\0"s}), "");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kSz, "A"}), "");  // one byte: half a character
}

TEST(DecodeRegValue, BinaryIsSignedSixteenBitLittleEndian) {
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, "\x05\x01"}), "261");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, "\xFF\xFF"}), "-1");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, "\x00\x80"s}), "-32768");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, "\xFF"}), "255");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, ""}), "0");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kBinary, "\x05\x01\x99\x99\x99"}), "261");
}

TEST(DecodeRegValue, MultiStringIsWholeWithItsNuls) {
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kMultiSz, text::Utf8ToUtf16Le("a\0b\0\0"s)}),
            "a\0b\0\0"s);
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kMultiSz, ""}), "");
}

TEST(DecodeRegValue, OtherTypesAndMissingValuesAreEmpty) {
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kDword, "\x01\x00\x00\x00"s}), "");
  EXPECT_EQ(DecodeRegValue(RegData{regtype::kExpandSz, text::Utf8ToUtf16Le("%SystemRoot%")}), "");
  EXPECT_EQ(DecodeRegValue(RegData{11, "12345678"}), "");
  EXPECT_EQ(DecodeRegValue(std::nullopt), "");
}

TEST(DecodeRegValue, HugeValuesDecodeWhole) {
  const std::string big(1 << 20, 'x');
  EXPECT_EQ(DecodeRegValue(Sz(big)), big);
}

TEST(ReadRegValue, ReadsByRootKeyAndName) {
  FakeRegistry reg;
  const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  reg.put(RootKey::LocalMachine, key, "RegisteredOwner", Sz("Anna"));
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, key, "RegisteredOwner"), "Anna");
  EXPECT_EQ(ReadRegValue(reg, RootKey::LocalMachine, "SOFTWARE\\Missing", "RegisteredOwner"), "");
}

TEST(ReadRegValue, LocalMachineFallsBackToThe32BitViewOnlyWhenTheValueIsMissing) {
  FakeRegistry reg;
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

TEST(ReadRegPath, ReadsTheValueBesideTheKeyOfTheSameName) {
  FakeRegistry reg;
  reg.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt", "Velkaro", Sz("3.0.06"));
  reg.put(RootKey::CurrentUser, "SOFTWARE\\Korvandt\\Velkaro", "", Sz("default of the key"));
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\SOFTWARE\\Korvandt\\Velkaro"), "3.0.06");
}

TEST(ReadRegPath, ConvertsLikeTheScriptingShell) {
  FakeRegistry reg;
  reg.put(RootKey::CurrentUser, "K", "dword", RegData{regtype::kDword, "\xFF\xFF\xFF\xFF"s});
  reg.put(RootKey::CurrentUser, "K", "expand",
          RegData{regtype::kExpandSz, text::Utf8ToUtf16Le("%TEMP%\0"s)});
  reg.put(RootKey::CurrentUser, "K", "binary", RegData{regtype::kBinary, "\x05\x01"});
  reg.put(RootKey::CurrentUser, "K", "multi", RegData{regtype::kMultiSz, "a\0\0\0"s});
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\K\\dword"), "-1");
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\K\\expand"), "%TEMP%");
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\K\\binary"), "");
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\K\\multi"), "");
  EXPECT_EQ(ReadRegPath(reg, "HKCU\\K\\missing"), "");
}

TEST(ReadRegPath, MalformedPathsNeverReachTheRegistry) {
  FakeRegistry reg;
  EXPECT_EQ(ReadRegPath(reg, "no backslash"), "");
  EXPECT_EQ(ReadRegPath(reg, "HKQQ\\SOFTWARE\\x"), "");
  EXPECT_TRUE(reg.queries.empty());
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

TEST(WriteRegPath, DwordTakesDecimalNumbersOnly) {
  FakeRegistry reg;
  EXPECT_TRUE(WriteRegPath(reg, "HKCU\\K\\n", "-1", "REG_DWORD"));
  EXPECT_EQ(reg.writes.back().data.bytes, "\xFF\xFF\xFF\xFF");
  EXPECT_TRUE(WriteRegPath(reg, "HKCU\\K\\n", "4294967295", "REG_DWORD"));
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\n", "12abc", "REG_DWORD"));
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\n", "", "REG_DWORD"));
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\n", "4294967296", "REG_DWORD"));
  EXPECT_EQ(reg.writes.size(), 2u);
}

TEST(WriteRegPath, FailuresReturnFalse) {
  FakeRegistry reg;
  EXPECT_FALSE(WriteRegPath(reg, "nobackslash", "x", "REG_SZ"));
  EXPECT_FALSE(WriteRegPath(reg, "HKZZ\\K\\v", "x", "REG_SZ"));
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\v", "x", "REG_QWORD"));
  EXPECT_TRUE(reg.writes.empty());
  reg.failWrites = true;
  EXPECT_FALSE(WriteRegPath(reg, "HKCU\\K\\v", "x", "REG_SZ"));
}
