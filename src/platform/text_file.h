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
  // Another program holds the file for a moment (a virus scanner, an indexer): the same
  // operation may succeed when tried again shortly.
  bool retry = false;
};

// A new version of a file, being written. It takes the file's place only when it is committed
// complete; destroyed before that, it leaves the earlier file as it was and nothing of itself.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends the text (UTF-8), converted to the system's ANSI code page.
  virtual std::optional<FileError> write(const std::string& text) = 0;
  // Puts what was written, flushed to the disk, in the place of the file at the path (a link
  // there is replaced, not followed). An error when that fails: the earlier file then stays as
  // it was. After a failed commit it may be called again: it then only tries to take the place
  // again (worth it when the error says so, see FileError::retry). Committing again after it
  // succeeded is no error.
  virtual std::optional<FileError> commit() = 0;
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
  // Starts a new version of the file at the path (see OutputFile); the file at the path stays
  // untouched until it is committed. New versions that earlier runs left behind (the program
  // was ended mid-run) are removed first, those another running program writes are not. Refused
  // at once when the file at the path could not be replaced: a folder, a read-only file, a file
  // another program holds open without letting it be deleted.
  virtual CreatedFile create(const std::string& path) = 0;
};

}  // namespace velkaro
