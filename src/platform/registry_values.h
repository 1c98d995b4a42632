// Module Regestry: the program's registry access, values read as text by path or by root, key
// and name. No operation reports an error: reads give empty text and writes false on any failure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace velkaro::Regestry {

// "HKCU\SOFTWARE\Korvandt\Velkaro": a root abbreviation, the key path and, after the last
// backslash, the name of a value in that key.
struct RegPath {
  RootKey root;
  std::string key;
  std::string value;
};
std::optional<RegPath> ParseRegPath(std::string_view path);

// A stored value as text: REG_SZ up to its first NUL, REG_BINARY as the signed 16-bit
// little-endian number of its first two bytes, REG_MULTI_SZ whole with its NULs, anything
// else (and a missing value) empty.
std::string DecodeRegValue(const std::optional<RegData>& value);

// The value valueName of root\subKey, decoded by DecodeRegValue. A value missing from a 64-bit
// program's own view of HKLM is looked up in the 32-bit view as well.
std::string ReadRegValue(Registry& registry, RootKey root, const std::string& subKey,
                         const std::string& valueName);

// The name of the first subkey of root\subKey in the registry's enumeration order; empty text
// when the key is missing or has no subkey. Like ReadRegValue, a 64-bit program that finds none
// in its own view of HKLM looks in the 32-bit view as well.
std::string FirstSubKeyName(Registry& registry, RootKey root, const std::string& subKey);

// The value a path names, as text: strings up to the first NUL, REG_DWORD as signed decimal;
// other types, a malformed path and a missing value give empty text.
std::string ReadRegPath(Registry& registry, std::string_view path);

// Writes the value a path names with the type "REG_SZ", "REG_EXPAND_SZ" or "REG_DWORD",
// creating missing keys. False on a malformed path, an unknown type, bad data or a failed write.
bool WriteRegPath(Registry& registry, std::string_view path, std::string_view data,
                  std::string_view typeName);

}  // namespace velkaro::Regestry
