// probe.exe: the end-to-end tests' agent inside the Wine prefix. It reads one command per line on
// stdin, a JSON array ["name", args...], and answers each with one line of JSON on stdout,
// {"ok": true, ...} or {"ok": false, "error": ...}. It launches the program under test and
// watches it from outside: windows and controls through window messages (each with a timeout),
// waits that poll every millisecond up to a deadline, the registry, processes. Times ("t") are
// milliseconds since the latest launch. Controls are named as in the main window's table.
//
//   hello                                  pid, dpi, user, controls (how many the table holds)
//   launch CMDLINE CWD                     proc, pid
//   wait_exit MS PROC                      exited, exit_code, t (MS 0: the state now)
//   terminate PROC
//   window CLASS [TITLE]                   window: hwnd pid class title visible rect client
//   wait_window MS CLASS COND [TITLE]      met, t, window; COND exists visible hidden gone, or
//                                          visible_sync: visible, then at once a sync
//   windows                                windows: every top-level window
//   close_window HWND                      posts WM_CLOSE
//   controls CLASS                         controls: id name parent class visible rect text
//                                          (check of a button, items of a list or combo box)
//   control CLASS NAME                     control, or null
//   wait_control MS CLASS NAME COND [TEXT] met, t, control; COND exists visible hidden text
//                                          text_not
//   set_text CLASS NAME TEXT               WM_SETTEXT, as if the user had typed it
//   sync MS CLASS                          replied, sent, synced: WM_NULL sent, and answered
//   processes                              processes: pid, exe
//   modules PROC                           modules: the DLLs the process has loaded
//   reg_get KEY NAME [32|64]               found, type, value (text, number, or else hex)
//   stats PROC                             handles, gdi, windows, memory: what it holds
//   quit
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/layout.h"

using nlohmann::json;

namespace {

std::wstring Wide(const std::string& s) {
  std::wstring w(MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), &w[0], int(w.size()));
  return w;
}

std::string Utf8(const std::wstring& w) {
  std::string s(
      WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr), 0);
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], int(s.size()), nullptr, nullptr);
  return s;
}

struct Failure {
  std::string why;
};

LARGE_INTEGER g_frequency, g_launch;

double SinceLaunchMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart - g_launch.QuadPart) * 1000.0 / double(g_frequency.QuadPart);
}

// Polls `met` every millisecond until it holds or `ms` have passed; {met, t}.
json PollUntil(long long ms, const std::function<bool()>& met) {
  const double end = SinceLaunchMs() + double(ms);
  bool held;
  while (!(held = met()) && SinceLaunchMs() < end) Sleep(1);
  return {{"met", held}, {"t", SinceLaunchMs()}};
}

bool Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, 2000, &r)) return false;
  result = LRESULT(r);
  return true;
}

// A control's text, or an item's of a list or combo box (the length and text messages of its kind).
json TextOf(HWND hwnd, UINT lenMsg = WM_GETTEXTLENGTH, UINT textMsg = WM_GETTEXT, WPARAM item = 0) {
  LRESULT len = 0, got = 0;
  if (!Send(hwnd, lenMsg, item, 0, len) || len < 0) return nullptr;
  std::vector<wchar_t> buf(size_t(len) + 2, L'\0');
  if (!Send(hwnd, textMsg, textMsg == WM_GETTEXT ? buf.size() : item, LPARAM(buf.data()), got))
    return nullptr;
  return Utf8(buf.data());
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> TopWindows() {
  std::vector<HWND> all;
  EnumWindows(Collect, LPARAM(&all));
  return all;
}

std::wstring TitleOf(HWND hwnd) {
  wchar_t title[512] = {};
  GetWindowTextW(hwnd, title, 512);  // top-level windows: no message is sent
  return title;
}

// The top-level window of the class (and title, when given), a visible one first.
HWND FindTop(const json& cls, const json& title) {
  HWND found = nullptr;
  for (HWND hwnd : TopWindows()) {
    if (Utf8(ClassOf(hwnd)) != cls || (title.is_string() && Utf8(TitleOf(hwnd)) != title)) continue;
    if (IsWindowVisible(hwnd)) return hwnd;
    if (!found) found = hwnd;
  }
  return found;
}

json Rect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

json DescribeWindow(HWND hwnd) {
  if (!hwnd) return nullptr;
  RECT r{}, c{};
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &c);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return {{"hwnd", uintptr_t(hwnd)},
          {"pid", pid},
          {"class", Utf8(ClassOf(hwnd))},
          {"title", Utf8(TitleOf(hwnd))},
          {"visible", bool(IsWindowVisible(hwnd))},
          {"rect", Rect(r)},
          {"client", Rect(c)}};
}

std::string NameOf(HWND hwnd) {
  const velkaro::ControlSpec* spec = velkaro::FindControl(GetDlgCtrlID(hwnd));
  return spec ? spec->name : std::string();
}

json Items(HWND hwnd, UINT countMsg, UINT lenMsg, UINT textMsg) {
  LRESULT count = 0;
  json items = json::array();
  if (!Send(hwnd, countMsg, 0, 0, count)) return nullptr;
  for (LRESULT i = 0; i < count; ++i) items.push_back(TextOf(hwnd, lenMsg, textMsg, WPARAM(i)));
  return items;
}

json DescribeControl(HWND hwnd) {
  if (!hwnd) return nullptr;
  RECT r{};
  GetWindowRect(hwnd, &r);
  const std::wstring cls = ClassOf(hwnd);
  json c = {{"id", GetDlgCtrlID(hwnd)},
            {"name", NameOf(hwnd)},
            {"parent", NameOf(GetParent(hwnd))},
            {"class", Utf8(cls)},
            {"visible", bool(IsWindowVisible(hwnd))},
            {"rect", Rect(r)},
            {"text", TextOf(hwnd)}};
  LRESULT check = 0;
  if (lstrcmpiW(cls.c_str(), L"Button") == 0 && Send(hwnd, BM_GETCHECK, 0, 0, check))
    c["check"] = check;
  if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0)
    c["items"] = Items(hwnd, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
  if (lstrcmpiW(cls.c_str(), L"ListBox") == 0)
    c["items"] = Items(hwnd, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
  return c;
}

std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> all;
  if (top) EnumChildWindows(top, Collect, LPARAM(&all));
  return all;
}

HWND FindControl(const json& cls, const std::string& name) {
  for (HWND hwnd : Descendants(FindTop(cls, nullptr)))
    if (NameOf(hwnd) == name || std::to_string(GetDlgCtrlID(hwnd)) == name) return hwnd;
  return nullptr;
}

// WM_NULL to the window: when it was sent and when the window's thread took it.
json Sync(HWND hwnd, long long ms) {
  const double sent = SinceLaunchMs();
  DWORD_PTR r = 0;
  const bool replied = hwnd && SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, UINT(ms), &r);
  return {{"replied", replied}, {"sent", sent}, {"synced", SinceLaunchMs()}};
}

json RegGet(const std::string& path, const std::string& name, const json& view) {
  const auto slash = path.find('\\');
  const std::string root = path.substr(0, slash);
  HKEY base = root == "HKCU" ? HKEY_CURRENT_USER : root == "HKLM" ? HKEY_LOCAL_MACHINE : nullptr;
  if (!base) throw Failure{"unknown root key " + root};
  const REGSAM sam =
      KEY_QUERY_VALUE | (view == "32" ? KEY_WOW64_32KEY : 0) | (view == "64" ? KEY_WOW64_64KEY : 0);
  HKEY key;
  if (RegOpenKeyExW(base, Wide(path.substr(slash + 1)).c_str(), 0, sam, &key) != ERROR_SUCCESS)
    return {{"found", false}};
  DWORD type = 0, size = 0;
  const std::wstring wname = Wide(name);
  std::vector<BYTE> data;
  bool found = RegQueryValueExW(key, wname.c_str(), nullptr, &type, nullptr, &size) == 0;
  data.resize(size + sizeof(wchar_t));  // a string's terminator, should the value lack one
  found = found && RegQueryValueExW(key, wname.c_str(), nullptr, &type, data.data(), &size) == 0;
  RegCloseKey(key);
  if (!found) return {{"found", false}};
  json value;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    value = Utf8(reinterpret_cast<const wchar_t*>(data.data()));
  } else if (type == REG_DWORD && size == 4) {
    value = *reinterpret_cast<const DWORD*>(data.data());
  } else {
    std::string hex;
    for (DWORD i = 0; i < size; ++i)
      for (int nibble : {data[i] >> 4, data[i] & 15}) hex += "0123456789abcdef"[nibble];
    value = hex;
  }
  static const char* const kTypes[] = {"REG_NONE", "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY",
                                       "REG_DWORD"};
  return {{"found", true}, {"type", type < 5 ? kTypes[type] : "other"}, {"value", value}};
}

// Handles, GDI objects and windows of the process, and its commit. Wine answers 0 to
// GetProcessHandleCount and GetGuiResources: the handles are counted in the system's handle
// list, the GDI objects as the live entries of the process's GDI handle table (a 64-bit PEB's
// GdiSharedHandleTable, 0x10000 entries of 24 bytes, type 0 when free), the windows (the USER
// objects another process can see) with EnumWindows.
json Stats(HANDLE process) {
  const DWORD pid = GetProcessId(process);
  std::vector<BYTE> list(1 << 16);
  ULONG status;
  while ((status = NtQuerySystemInformation(SYSTEM_INFORMATION_CLASS(16), list.data(),
                                            ULONG(list.size()), nullptr)) == 0xC0000004)
    list.resize(list.size() * 2);
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  long long handles = 0;
  const auto* entries = reinterpret_cast<const Entry*>(list.data() + sizeof(void*));
  for (ULONG i = 0; status == 0 && i < *reinterpret_cast<ULONG*>(list.data()); ++i)
    handles += entries[i].pid == pid;

  PROCESS_BASIC_INFORMATION basic{};
  BYTE* table = nullptr;
  std::vector<BYTE> gdi(24 * 0x10000);
  long long live = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) ==
          0 &&
      ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + 0xF8, &table,
                        sizeof table, nullptr) &&
      ReadProcessMemory(process, table, gdi.data(), gdi.size(), nullptr))
    for (size_t i = 0; i < 0x10000; ++i) live += gdi[i * 24 + 14] != 0;

  long long windows = 0;
  for (HWND top : TopWindows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner == pid) windows += 1 + static_cast<long long>(Descendants(top).size());
  }
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  return {
      {"handles", handles}, {"gdi", live}, {"windows", windows}, {"memory", memory.PagefileUsage}};
}

class Probe {
 public:
  json handle(const json& c) {
    const std::string cmd = c.at(0);
    auto arg = [&](size_t i) -> const json& {
      static const json none;
      return i < c.size() ? c[i] : none;
    };
    auto proc = [&](size_t i = 1) {
      const size_t n = arg(i);
      if (n >= processes_.size()) throw Failure{"no such process"};
      return processes_[n];
    };
    if (cmd == "hello") {
      HDC dc = GetDC(nullptr);
      const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
      ReleaseDC(nullptr, dc);
      wchar_t user[256] = {};
      DWORD size = 256;
      GetUserNameW(user, &size);
      return {{"pid", GetCurrentProcessId()},
              {"dpi", dpi},
              {"user", Utf8(user)},
              {"controls", velkaro::Form1Controls().size()}};
    }
    if (cmd == "launch") return launch(arg(1), arg(2));
    if (cmd == "wait_exit") {
      const bool exited = WaitForSingleObject(proc(2), DWORD(arg(1))) == WAIT_OBJECT_0;
      DWORD code = 0;
      GetExitCodeProcess(proc(2), &code);
      return {
          {"exited", exited}, {"exit_code", exited ? json(code) : json()}, {"t", SinceLaunchMs()}};
    }
    if (cmd == "terminate") {
      TerminateProcess(proc(), 1);
      return {{"exited", WaitForSingleObject(proc(), 5000) == WAIT_OBJECT_0}};
    }
    if (cmd == "window") return {{"window", DescribeWindow(FindTop(arg(1), arg(2)))}};
    if (cmd == "wait_window") {
      const std::string cond = arg(3);
      HWND hwnd = nullptr;
      json r = PollUntil(arg(1), [&] {
        hwnd = FindTop(arg(2), arg(4));
        if (cond == "exists") return hwnd != nullptr;
        if (cond == "gone") return hwnd == nullptr;
        return hwnd && bool(IsWindowVisible(hwnd)) == (cond != "hidden");
      });
      if (r["met"] && cond == "visible_sync") r.update(Sync(hwnd, arg(1)));
      r["window"] = DescribeWindow(hwnd);
      return r;
    }
    if (cmd == "windows") {
      json all = json::array();
      for (HWND hwnd : TopWindows()) all.push_back(DescribeWindow(hwnd));
      return {{"windows", all}};
    }
    if (cmd == "close_window")
      return {{"posted", bool(PostMessageW(HWND(uintptr_t(arg(1))), WM_CLOSE, 0, 0))}};
    if (cmd == "controls") {
      json all = json::array();
      for (HWND hwnd : Descendants(FindTop(arg(1), nullptr))) all.push_back(DescribeControl(hwnd));
      return {{"controls", all}};
    }
    if (cmd == "control") return {{"control", DescribeControl(FindControl(arg(1), arg(2)))}};
    if (cmd == "wait_control") {
      const std::string cond = arg(4);
      HWND hwnd = nullptr;
      json r = PollUntil(arg(1), [&] {
        hwnd = FindControl(arg(2), arg(3));
        if (!hwnd || cond == "exists") return hwnd != nullptr;
        if (cond == "visible" || cond == "hidden")
          return bool(IsWindowVisible(hwnd)) == (cond == "visible");
        const json text = TextOf(hwnd);
        return text.is_string() && (text == arg(5)) == (cond == "text");
      });
      r["control"] = DescribeControl(hwnd);
      return r;
    }
    if (cmd == "set_text") {
      HWND hwnd = FindControl(arg(1), arg(2));
      LRESULT r = 0;
      if (!hwnd || !Send(hwnd, WM_SETTEXT, 0, LPARAM(Wide(arg(3)).c_str()), r))
        throw Failure{"no such control or no answer"};
      return json::object();
    }
    if (cmd == "sync") return Sync(FindTop(arg(2), nullptr), arg(1));
    if (cmd == "processes") return {{"processes", processes()}};
    if (cmd == "modules") {
      HMODULE loaded[1024];
      DWORD bytes = 0;
      json names = json::array();
      if (!EnumProcessModules(proc(), loaded, sizeof loaded, &bytes)) throw Failure{"modules"};
      for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(proc(), loaded[i], name, MAX_PATH)) names.push_back(Utf8(name));
      }
      return {{"modules", names}};
    }
    if (cmd == "reg_get") return RegGet(arg(1), arg(2), arg(3));
    if (cmd == "stats") return Stats(proc());
    throw Failure{"unknown command " + cmd};
  }

 private:
  json launch(const std::string& cmdLine, const std::string& cwd) {
    std::wstring line = Wide(cmdLine);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    QueryPerformanceCounter(&g_launch);
    // No handle inheritance and no console: the program starts as from the shell.
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        Wide(cwd).c_str(), &si, &pi))
      throw Failure{"CreateProcess failed: " + std::to_string(GetLastError())};
    CloseHandle(pi.hThread);
    processes_.push_back(pi.hProcess);
    return {{"proc", processes_.size() - 1}, {"pid", pi.dwProcessId}};
  }

  static json processes() {
    json all = json::array();
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e))
      all.push_back({{"pid", e.th32ProcessID}, {"exe", Utf8(e.szExeFile)}});
    CloseHandle(snap);
    return all;
  }

  std::vector<HANDLE> processes_;
};

}  // namespace

int main() {
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_launch);
  Probe probe;
  for (std::string line; std::getline(std::cin, line);) {
    json answer;
    try {
      const json command = json::parse(line);
      if (command.at(0) == "quit") break;
      answer = probe.handle(command);
      answer["ok"] = true;
    } catch (const Failure& f) {
      answer = {{"ok", false}, {"error", f.why}};
    } catch (const std::exception& e) {
      answer = {{"ok", false}, {"error", e.what()}};
    }
    std::cout << answer.dump(-1, ' ', false, json::error_handler_t::replace) << std::endl;
  }
}
