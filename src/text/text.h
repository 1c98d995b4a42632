// Small text helpers shared by the portable core. All text is UTF-8 unless a name says otherwise.
#pragma once

#include <string>
#include <string_view>

namespace velkaro::text {

// The text up to, not including, its first NUL character (all of it when it holds none).
std::string CutAtNul(std::string_view s);

// Removes leading and trailing blanks (spaces only, as the classic Trim does; tabs stay).
std::string TrimBlanks(std::string_view s);

// ASCII case mapping; other bytes (UTF-8 sequences included) stay as they are.
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);

bool EndsWith(std::string_view s, std::string_view suffix);
bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Folder and file name joined by exactly one backslash, also when the folder is a drive root
// that already ends in one ("C:\").
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder part of a full path (without the closing backslash, except for a drive root).
std::string FolderOf(std::string_view path);

// The file name of a path without its folder and without its last extension.
std::string StemOf(std::string_view path);

// UTF-16 little-endian bytes to UTF-8. NULs are kept; a trailing odd byte is dropped; an unpaired
// surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 to UTF-16 little-endian bytes. Invalid sequences become U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace velkaro::text
