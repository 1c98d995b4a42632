#include "text/text.h"

#include <gtest/gtest.h>

using namespace velkaro::text;
using namespace std::string_literals;

TEST(Text, CutAtNulKeepsTheTextBeforeItTrimRemovesBlanksOnlyOnBothEnds) {
  EXPECT_EQ(CutAtNul("abc\0def"s), "abc");
  EXPECT_EQ(CutAtNul("abc"), "abc");
  EXPECT_EQ(CutAtNul("\0abc"s), "");
  EXPECT_EQ(TrimBlanks("  A "), "A");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\tA\t"), "\tA\t");
  EXPECT_EQ(TrimBlanks("Service Pack 6a"), "Service Pack 6a");
}

TEST(Text, PathsJoinWithExactlyOneBackslash) {
  EXPECT_EQ(JoinPath("C:\\Velkaro", "dx.txt"), "C:\\Velkaro\\dx.txt");
  EXPECT_EQ(JoinPath("C:\\", "dx.txt"), "C:\\dx.txt");
  EXPECT_EQ(FolderOf("C:\\Velkaro\\Velkaro.exe"), "C:\\Velkaro");
  EXPECT_EQ(FolderOf("C:\\Velkaro.exe"), "C:\\");
  EXPECT_EQ(FolderOf("\\\\server\\share\\v.exe"), "\\\\server\\share");
  EXPECT_EQ(StemOf("C:\\Program Files\\Velkaro\\Velkaro.EXE"), "Velkaro");
  EXPECT_EQ(StemOf("C:\\a.b\\noext"), "noext");
}

TEST(Text, Utf16RoundTripKeepsEveryCharacterAndMalformedInputBecomesReplacements) {
  const std::string text = "Lautstärkeregelung größe 𝄞\0x"s;
  const std::string utf16 = Utf8ToUtf16Le(text);
  EXPECT_EQ(utf16.substr(0, 4), "L\0a\0"s);
  EXPECT_EQ(Utf16LeToUtf8(utf16), text);
  // A lone high surrogate, then 'A'.
  EXPECT_EQ(Utf16LeToUtf8("\x00\xD8\x41\x00"s),
            "\xEF\xBF\xBD"
            "A");
  // An odd trailing byte is dropped.
  EXPECT_EQ(Utf16LeToUtf8("A\0B"s), "A");
  // Invalid UTF-8: a stray continuation byte, an overlong slash, a truncated sequence.
  EXPECT_EQ(Utf8ToUtf16Le("\x80"), "\xFD\xFF"s);
  EXPECT_EQ(Utf8ToUtf16Le("\xC0\xAF"), "\xFD\xFF\xFD\xFF"s);
  EXPECT_EQ(Utf8ToUtf16Le("a\xE2\x82"), "a\0\xFD\xFF\xFD\xFF"s);
}
