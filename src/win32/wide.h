// UTF-8 (the program's text) to UTF-16 (the W calls) and to the ANSI code page (files, counter
// paths), and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velkaro::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// UTF-8 to the system's ANSI code page (a character it lacks becomes its best fit or "?");
// nullopt when the conversion fails, GetLastError() telling why.
std::optional<std::string> ToAnsi(std::string_view utf8);
// Text in the system's ANSI code page to UTF-8.
std::string FromAnsi(std::string_view ansi);

}  // namespace velkaro::win32
