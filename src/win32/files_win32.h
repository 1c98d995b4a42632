// The program's text files with Windows calls.
#pragma once

#include <windows.h>

#include "platform/text_file.h"

namespace velkaro::win32 {

class Win32TextFiles : public TextFiles {
 public:
  std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override;
  CreatedFile create(const std::string& path) override;
};

// The platform's description of an error number (UTF-8, without its line end).
FileError DescribeError(DWORD code);

}  // namespace velkaro::win32
