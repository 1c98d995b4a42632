// UTF-8 (the program's text) to UTF-16 (the W calls) and back.
#pragma once

#include <string>
#include <string_view>

namespace velkaro::win32 {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace velkaro::win32
