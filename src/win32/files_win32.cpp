// The program's text files: the dump read and the report written, both in the ANSI code page.
#include <algorithm>
#include <string>

#include "win32/platform_win32.h"
#include "win32/wide.h"

namespace velkaro::win32 {

std::optional<std::string> Win32TextFiles::read(const std::string& path, std::size_t maxBytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  bool ok = true;
  char chunk[64 * 1024];
  while (bytes.size() < maxBytes) {
    DWORD got = 0;
    const DWORD want =
        static_cast<DWORD>(std::min<std::size_t>(sizeof(chunk), maxBytes - bytes.size()));
    if (!ReadFile(file, chunk, want, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  if (bytes.empty()) return std::string();
  // Text files are in the system's ANSI code page.
  const int n =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return Narrow(wide);
}

namespace {

// A file written through a handle of its own; the text goes out in the ANSI code page.
class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(HANDLE file) : file_(file) {}
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;
  ~Win32OutputFile() override { close(); }

  std::optional<FileError> write(const std::string& text) override {
    if (file_ == INVALID_HANDLE_VALUE) return DescribeError(ERROR_INVALID_HANDLE);
    const std::wstring wide = Wide(text);
    std::string bytes;
    if (!wide.empty()) {
      const int length = static_cast<int>(wide.size());
      const int n =
          WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
      if (n <= 0) return DescribeError(GetLastError());
      bytes.resize(static_cast<size_t>(n));
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, bytes.data(), n, nullptr, nullptr);
    }
    size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
      DWORD written = 0;
      if (!WriteFile(file_, bytes.data() + done, chunk, &written, nullptr))
        return DescribeError(GetLastError());
      if (written == 0) return DescribeError(ERROR_WRITE_FAULT);
      done += written;
    }
    return std::nullopt;
  }

  std::optional<FileError> close() override {
    if (file_ == INVALID_HANDLE_VALUE) return std::nullopt;
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    if (!closed) return DescribeError(GetLastError());
    return std::nullopt;
  }

 private:
  HANDLE file_;
};

}  // namespace

FileError DescribeError(DWORD code) {
  FileError error{code, {}};
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (text) {
    std::wstring_view message(text, n);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
      message.remove_suffix(1);
    error.reason = Narrow(message);
    LocalFree(text);
  }
  return error;
}

CreatedFile Win32TextFiles::create(const std::string& path) {
  // Readers may look at the file while it is written; nobody else writes it meanwhile.
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {nullptr, DescribeError(GetLastError())};
  return {std::make_unique<Win32OutputFile>(file), {}};
}

bool Win32TextFiles::remove(const std::string& path) {
  return DeleteFileW(Wide(path).c_str()) != FALSE;
}

}  // namespace velkaro::win32
