#include "win32/wide.h"

#include <windows.h>

#include "text/text.h"

namespace velkaro::win32 {

// wchar_t is a UTF-16 unit on Windows: the portable little-endian conversions serve directly.
static_assert(sizeof(wchar_t) == 2, "wchar_t must be a UTF-16 unit");

std::wstring Wide(std::string_view utf8) {
  const std::string bytes = text::Utf8ToUtf16Le(utf8);
  std::wstring out(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                  static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (const wchar_t unit : utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return text::Utf16LeToUtf8(bytes);
}

std::optional<std::string> ToAnsi(std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string ansi(static_cast<size_t>(n), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), n, nullptr, nullptr) != n)
    return std::nullopt;
  return ansi;
}

std::string FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), n);
  return Narrow(wide);
}

}  // namespace velkaro::win32
