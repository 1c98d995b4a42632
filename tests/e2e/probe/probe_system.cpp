// probe.exe: registry values and the resources a process holds.
#include "probe.h"

#include "win32/late_bound.h"

namespace probe {

// ---- registry ----

bool SplitKey(const std::string& path, HKEY& root, std::wstring& sub) {
  const auto slash = path.find('\\');
  const std::string head = path.substr(0, slash);
  sub = slash == std::string::npos ? std::wstring() : Wide(path.substr(slash + 1));
  if (head == "HKCU" || head == "HKEY_CURRENT_USER")
    root = HKEY_CURRENT_USER;
  else if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE")
    root = HKEY_LOCAL_MACHINE;
  else if (head == "HKCR" || head == "HKEY_CLASSES_ROOT")
    root = HKEY_CLASSES_ROOT;
  else if (head == "HKU" || head == "HKEY_USERS")
    root = HKEY_USERS;
  else
    return false;
  return true;
}

const char* TypeName(DWORD type) {
  static const char* const kNames[] = {"REG_NONE",   "REG_SZ",      "REG_EXPAND_SZ",
                                       "REG_BINARY", "REG_DWORD",   "REG_DWORD_BIG_ENDIAN",
                                       "REG_LINK",   "REG_MULTI_SZ"};
  if (type < sizeof kNames / sizeof *kNames) return kNames[type];
  return type == REG_QWORD ? "REG_QWORD" : "REG_UNKNOWN";
}

std::string Hex(const BYTE* data, size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    s += digits[data[i] >> 4];
    s += digits[data[i] & 15];
  }
  return s;
}

// The value as text: strings without their terminator, DWORDs in decimal, anything else as hex.
void DecodeValue(Json& j, DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring s(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    s.resize(s.find(L'\0') == std::wstring::npos ? s.size() : s.find(L'\0'));
    j.str(Utf8(s));
  } else if (type == REG_DWORD && data.size() >= 4) {
    DWORD v;
    memcpy(&v, data.data(), 4);
    j.num(v);
  } else {
    j.str(Hex(data.data(), data.size()));
  }
}

// ---- resources of a process ----

BOOL CALLBACK CountWindow(HWND, LPARAM param) {
  ++reinterpret_cast<std::pair<DWORD, long long>*>(param)->second;
  return TRUE;
}

// Counts the process's top-level windows and all their descendants.
BOOL CALLBACK CountWindowsOf(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != reinterpret_cast<std::pair<DWORD, long long>*>(param)->first) return TRUE;
  CountWindow(hwnd, param);
  EnumChildWindows(hwnd, CountWindow, param);
  return TRUE;
}

// Live entries of the process's GDI handle table: Wine keeps a table of its own in every
// process (PEB GdiSharedHandleTable, 0x10000 entries of 24 bytes, Type 0 when free), read here
// because Wine's GetGuiResources is a stub that answers 0. -1 when it cannot be read.
long long GdiTableEntries(HANDLE process) {
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const velkaro::win32::LateBound<Query> query(L"ntdll.dll", "NtQueryInformationProcess");
  struct {
    void* reserved1;
    BYTE* peb;
    void* reserved2[4];
  } basic{};
  BYTE* table = nullptr;
  if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 || !basic.peb ||
      !ReadProcessMemory(process, basic.peb + 0xF8, &table, sizeof table, nullptr) || !table)
    return -1;
  constexpr size_t kEntry = 24, kEntries = 0x10000, kTypeAt = 14;
  std::vector<BYTE> entries(kEntry * kEntries);
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, table, entries.data(), entries.size(), &got)) return -1;
  long long live = 0;
  for (size_t i = 0; i < kEntries; ++i) live += entries[i * kEntry + kTypeAt] != 0;
  return live;
}

// Handles the process holds, from the system's handle list (Wine's GetProcessHandleCount
// answers 0 for every process); -1 when the list cannot be read.
long long SystemHandlesOf(DWORD pid) {
  using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
  static const velkaro::win32::LateBound<Query> query(L"ntdll.dll", "NtQuerySystemInformation");
  struct Entry {
    ULONG ownerPid;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  constexpr int kSystemHandleInformation = 16;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  std::vector<BYTE> buffer(1 << 16);
  LONG status;
  while ((status = query ? query(kSystemHandleInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), nullptr)
                         : -1) == kLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return -1;
  ULONG count;
  std::memcpy(&count, buffer.data(), sizeof count);
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  long long held = 0;
  for (ULONG i = 0; i < count; ++i) held += entries[i].ownerPid == pid;
  return held;
}

// What the process holds: handle count, GDI and USER objects (GetGuiResources), private bytes
// (PrivateUsage) and commit (PagefileUsage), and the counts that stand in for them under Wine 8,
// whose first four answers are 0: handles in the system's handle list, live GDI table entries,
// windows (the USER objects another process can see), and PagefileUsage (resident anonymous
// memory and swap; Wine leaves PrivateUsage 0).
void ProcessStats(Json& j, HANDLE process) {
  DWORD handles = 0;
  const bool counted = GetProcessHandleCount(process, &handles) != FALSE;
  SetLastError(0);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  const DWORD guiError = GetLastError();
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  const bool measured =
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory) != FALSE;
  std::pair<DWORD, long long> windows{GetProcessId(process), 0};
  EnumWindows(CountWindowsOf, reinterpret_cast<LPARAM>(&windows));
  j.key("handles");
  counted ? j.num(handles) : j.null();
  j.key("gdi").num(gdi);
  j.key("user").num(user);
  j.key("gui_error").num(guiError);
  j.key("private");
  measured ? j.num(static_cast<long long>(memory.PrivateUsage)) : j.null();
  j.key("pagefile");
  measured ? j.num(static_cast<long long>(memory.PagefileUsage)) : j.null();
  j.key("gdi_table").num(GdiTableEntries(process));
  j.key("windows").num(windows.second);
  j.key("system_handles").num(SystemHandlesOf(GetProcessId(process)));
}

}  // namespace probe
