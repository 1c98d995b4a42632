// The program's text files with Windows calls.
#pragma once

#include <windows.h>

#include "platform/text_file.h"
#include "win32/service_calls.h"

namespace velkaro::win32 {

class Win32TextFiles : public TextFiles {
 public:
  // A read can meet a network path (the program's folder): it runs through `reads` when given.
  explicit Win32TextFiles(ServiceCalls* reads = nullptr) : reads_(reads) {}
  std::optional<std::string> read(const std::string& path, std::size_t maxBytes) override;
  CreatedFile create(const std::string& path) override;

 private:
  ServiceCalls* reads_;
};

// The platform's description of an error number (UTF-8, without its line end).
FileError DescribeError(DWORD code);

}  // namespace velkaro::win32
