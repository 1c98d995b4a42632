// Plain-text files of the program (in the system's ANSI code page on disk).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velkaro {

// Why a file operation failed: the platform's error number and its own description of it.
struct FileError {
  uint32_t code = 0;
  std::string reason;  // UTF-8
};

// A file open for writing. Destroying it closes it without a report.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends the text (UTF-8), converted to the system's ANSI code page.
  virtual std::optional<FileError> write(const std::string& text) = 0;
  // Closes the file; an error when what was written could not be kept. Closing again is no
  // error.
  virtual std::optional<FileError> close() = 0;
};

// A created file, or why it could not be created.
struct CreatedFile {
  std::unique_ptr<OutputFile> file;
  FileError error;  // when file is null
};

class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Up to maxBytes of the file, converted to UTF-8; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> read(const std::string& path, std::size_t maxBytes) = 0;
  // Opens the file for writing from its start: a missing file is created, an existing one
  // emptied.
  virtual CreatedFile create(const std::string& path) = 0;
  // Deletes a file; false when it cannot be deleted.
  virtual bool remove(const std::string& path) = 0;
};

}  // namespace velkaro
