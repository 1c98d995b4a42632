// The program's text files: the dump read and the report written, both in the ANSI code page.
#include <windows.h>
#include <ntsecapi.h>

#include <algorithm>
#include <string>

#include "win32/files_win32.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

std::optional<std::string> ReadAnsi(const std::wstring& path, std::size_t maxBytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
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

}  // namespace

std::optional<std::string> Win32TextFiles::read(const std::string& path, std::size_t maxBytes) {
  return OffThread(reads_, std::optional<std::string>(),
                   [name = Wide(path), maxBytes] { return ReadAnsi(name, maxBytes); });
}

namespace {

// A new version of a file, written to a file of its own beside it (see OutputFile); the text goes
// out in the ANSI code page.
class Win32OutputFile : public OutputFile {
 public:
  Win32OutputFile(HANDLE file, std::wstring temp, std::wstring target)
      : file_(file), temp_(std::move(temp)), target_(std::move(target)) {}
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;
  ~Win32OutputFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!committed_) DeleteFileW(temp_.c_str());
  }

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

  std::optional<FileError> commit() override {
    if (committed_) return std::nullopt;
    if (file_ == INVALID_HANDLE_VALUE) return DescribeError(ERROR_INVALID_HANDLE);
    const bool flushed = FlushFileBuffers(file_) != FALSE;
    DWORD error = flushed ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(file_) && flushed) error = GetLastError();
    file_ = INVALID_HANDLE_VALUE;
    if (error != ERROR_SUCCESS) return DescribeError(error);
    // Renaming replaces whatever entry has the target's name, a link included, in one step.
    if (!MoveFileExW(temp_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return DescribeError(GetLastError());
    committed_ = true;
    return std::nullopt;
  }

 private:
  HANDLE file_;
  std::wstring temp_;
  std::wstring target_;
  bool committed_ = false;
};

// Sixteen hexadecimal digits from the system's random number generator.
std::wstring RandomName() {
  unsigned char bytes[8] = {};
  if (!RtlGenRandom(bytes, sizeof bytes)) {
    // Not seen on any Windows that has the call; the name is then merely unlikely.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const ULONGLONG mix = now.QuadPart ^ (ULONGLONG{GetCurrentProcessId()} << 32) ^ GetTickCount();
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(mix >> (8 * i));
  }
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name;
  for (const unsigned char b : bytes) {
    name += kDigits[b >> 4];
    name += kDigits[b & 15];
  }
  return name;
}

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
  const std::wstring target = Wide(path);
  // A folder of that name cannot be replaced: that shows now, as it did when the file itself was
  // created in its place.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return {nullptr, DescribeError(ERROR_ACCESS_DENIED)};
  // The new version is written beside the file under a name nobody can predict; it is made
  // new, so that nothing of that name (a file, a folder, a link) can redirect the writing.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::wstring temp = target + L"." + RandomName() + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
      return {std::make_unique<Win32OutputFile>(file, std::move(temp), target), {}};
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      return {nullptr, DescribeError(error)};
  }
  return {nullptr, DescribeError(ERROR_FILE_EXISTS)};
}

}  // namespace velkaro::win32
