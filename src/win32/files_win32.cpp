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
  // Text files are in the system's ANSI code page.
  return FromAnsi(bytes);
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
    const auto bytes = ToAnsi(text);
    if (!bytes) return DescribeError(GetLastError());
    size_t done = 0;
    while (done < bytes->size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes->size() - done, 1u << 20));
      DWORD written = 0;
      if (!WriteFile(file_, bytes->data() + done, chunk, &written, nullptr))
        return DescribeError(GetLastError());
      if (written == 0) return DescribeError(ERROR_WRITE_FAULT);
      done += written;
    }
    return std::nullopt;
  }

  std::optional<FileError> commit() override {
    if (committed_) return std::nullopt;
    // The first commit flushes and closes; a later one only tries the rename again.
    if (file_ != INVALID_HANDLE_VALUE) {
      const bool flushed = FlushFileBuffers(file_) != FALSE;
      closeError_ = flushed ? ERROR_SUCCESS : GetLastError();
      if (!CloseHandle(file_) && flushed) closeError_ = GetLastError();
      file_ = INVALID_HANDLE_VALUE;
    }
    if (closeError_ != ERROR_SUCCESS) return DescribeError(closeError_);
    // Renaming replaces whatever entry has the target's name, a link included, in one step.
    if (!MoveFileExW(temp_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      const DWORD code = GetLastError();
      FileError error = DescribeError(code);
      // A virus scanner or an indexer holding either file for a moment looks like this.
      error.retry = code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED ||
                    code == ERROR_LOCK_VIOLATION;
      return error;
    }
    committed_ = true;
    return std::nullopt;
  }

 private:
  HANDLE file_;
  std::wstring temp_;
  std::wstring target_;
  DWORD closeError_ = ERROR_SUCCESS;
  bool committed_ = false;
};

constexpr wchar_t kHexDigits[] = L"0123456789abcdef";
constexpr size_t kRandomDigits = 16;
constexpr wchar_t kVersionSuffix[] = L".tmp";

// Sixteen hexadecimal digits from the system's random number generator.
std::wstring RandomName() {
  unsigned char bytes[kRandomDigits / 2] = {};
  if (!RtlGenRandom(bytes, sizeof bytes)) {
    // Not seen on any Windows that has the call; the name is then merely unlikely.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const ULONGLONG mix = now.QuadPart ^ (ULONGLONG{GetCurrentProcessId()} << 32) ^ GetTickCount();
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(mix >> (8 * i));
  }
  std::wstring name;
  for (const unsigned char b : bytes) {
    name += kHexDigits[b >> 4];
    name += kHexDigits[b & 15];
  }
  return name;
}

// The name of a new version of the file: its name, a dot, the random digits and ".tmp".
std::wstring VersionName(const std::wstring& target, const std::wstring& digits) {
  return target + L"." + digits + kVersionSuffix;
}

// Whether a name in the file's folder is exactly that of a new version of the file.
bool IsVersionName(const std::wstring& name, const std::wstring& fileName) {
  const size_t digitsAt = fileName.size() + 1;
  if (name.size() != digitsAt + kRandomDigits + wcslen(kVersionSuffix) ||
      name.compare(0, fileName.size(), fileName) != 0 || name[fileName.size()] != L'.' ||
      name.compare(digitsAt + kRandomDigits, std::wstring::npos, kVersionSuffix) != 0)
    return false;
  for (size_t i = digitsAt; i < digitsAt + kRandomDigits; ++i) {
    const wchar_t c = name[i];
    if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) return false;
  }
  return true;
}

// Deletes the new versions of the file that runs ended mid-way left behind. Another running copy
// of the program holds its version open without letting it be deleted, so that one stays.
void RemoveLeftVersions(const std::wstring& target) {
  const size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  const std::wstring fileName = target.substr(folder.size());
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(VersionName(target, L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // The pattern also matches short names and other long ones: only the exact form counts.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        IsVersionName(found.cFileName, fileName))
      DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// Why the file at the path could not be replaced when it is committed, found before anything is
// written: a folder, a read-only file, or one that another program (an editor) holds open without
// letting it be deleted. Nothing when it can be replaced or is not there.
std::optional<FileError> CannotReplace(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
    return DescribeError(ERROR_ACCESS_DENIED);
  // The entry itself, not what a link there points to: the link is what gets replaced.
  HANDLE probe =
      CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    return std::nullopt;
  }
  const DWORD error = GetLastError();
  if (error == ERROR_SHARING_VIOLATION) return DescribeError(error);
  return std::nullopt;
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
  RemoveLeftVersions(target);
  // What keeps the file from being replaced shows now, as it did when the file itself was
  // opened for writing, not after the whole run.
  if (auto error = CannotReplace(target)) return {nullptr, *error};
  // The new version is written beside the file under a name nobody can predict; it is made
  // new, so that nothing of that name (a file, a folder, a link) can redirect the writing. It is
  // held without delete sharing, so another copy of the program does not take it for a leftover.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::wstring temp = VersionName(target, RandomName());
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
