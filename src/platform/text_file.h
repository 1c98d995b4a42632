// Plain-text files of the program (in the system's ANSI code page on disk).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace velkaro {

class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Up to maxBytes of the file, converted to UTF-8; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> read(const std::string& path, std::size_t maxBytes) = 0;
};

}  // namespace velkaro
