// probe.exe: the Wine harness's agent inside a prefix (tools/wine/velkaro_wine.py drives it for
// the end-to-end tests, the tour and the bench). It answers each line of JSON, ["command",
// args...], with one line, {"ok": true, ...} or {"ok": false, "error": ...}. Times ("t") are
// milliseconds since the latest launch. A window is a top-level window of a class (a visible one
// first), or with NAME its control of that name in the main window's table (else its id): name
// parent visible rect client text (a top-level window's title), check or items.
//
//   hello                             dpi, controls (how many the main window's table has)
//   launch CMDLINE CWD                proc (a number for the commands below)
//   wait_exit MS PROC | terminate PROC   exited, exit_code, t | terminated
//   wait MS CLASS NAME COND [TEXT]    met, t, window: polls every millisecond, MS at most, until
//                                     the window exists, is gone, visible, has the text or not
//                                     (text, text_not), or is visible and then synced
//                                     (visible_sync)
//   controls CLASS | close CLASS      every control of the window | WM_CLOSE posted to it
//   sync MS CLASS                     replied, sent, synced: a WM_NULL sent and taken
//   stats PROC                        handles, gdi, windows, memory: what the process holds
//   quit
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/layout.h"

using nlohmann::json;

namespace {

std::string Utf8(const std::wstring& w) {
  std::string s(
      WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr), 0);
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), &s[0], int(s.size()), nullptr, nullptr);
  return s;
}

LARGE_INTEGER g_frequency, g_launch;
std::vector<HANDLE> g_processes;  // the launched ones

double SinceLaunchMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart - g_launch.QuadPart) * 1000.0 / double(g_frequency.QuadPart);
}

// Polls `met` every millisecond until it holds or `ms` have passed: {met, t}.
json PollUntil(long long ms, const std::function<bool()>& met) {
  const double end = SinceLaunchMs() + double(ms);
  bool held;
  while (!(held = met()) && SinceLaunchMs() < end) Sleep(1);
  return {{"met", held}, {"t", SinceLaunchMs()}};
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, 2000, &r))
    throw std::runtime_error("no answer to message " + std::to_string(msg));
  return LRESULT(r);
}

// A control's text, or an item's of a list or combo box (the length and text messages of its kind).
std::string TextOf(HWND hwnd, UINT lenMsg = WM_GETTEXTLENGTH, UINT textMsg = WM_GETTEXT,
                   WPARAM item = 0) {
  std::vector<wchar_t> buf(size_t(Send(hwnd, lenMsg, item)) + 2, L'\0');
  Send(hwnd, textMsg, textMsg == WM_GETTEXT ? buf.size() : item, LPARAM(buf.data()));
  return Utf8(buf.data());
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// The top-level windows, or a window's descendants.
std::vector<HWND> Windows(HWND parent = nullptr) {
  std::vector<HWND> all;
  parent ? EnumChildWindows(parent, Collect, LPARAM(&all)) : EnumWindows(Collect, LPARAM(&all));
  return all;
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return Utf8(name);
}

std::string NameOf(HWND hwnd) {
  const velkaro::ControlSpec* spec = velkaro::FindControl(GetDlgCtrlID(hwnd));
  return spec ? spec->name : std::to_string(GetDlgCtrlID(hwnd));
}

// The top-level window of the class, a visible one first, or its control of that name.
HWND Find(const json& cls, const json& name = nullptr) {
  HWND top = nullptr;
  for (HWND hwnd : Windows())
    if (ClassOf(hwnd) == cls && !(top && IsWindowVisible(top))) top = hwnd;
  if (!top || name.is_null()) return top;
  for (HWND child : Windows(top))
    if (NameOf(child) == name) return child;
  return nullptr;
}

json Describe(HWND hwnd) {
  if (!hwnd) return nullptr;
  RECT r, c;
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &c);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  auto rect = [](RECT x) { return json{x.left, x.top, x.right, x.bottom}; };
  wchar_t title[512] = {};
  const bool child = GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD;
  if (!child) GetWindowTextW(hwnd, title, 512);  // a top-level window's: no message is sent
  const std::string cls = ClassOf(hwnd);
  json d = {{"name", NameOf(hwnd)},
            {"parent", NameOf(GetParent(hwnd))},
            {"visible", IsWindowVisible(hwnd) != FALSE},
            {"rect", rect(r)},
            {"client", rect(c)},
            {"text", child ? TextOf(hwnd) : Utf8(title)}};
  auto items = [&](UINT countMsg, UINT lenMsg, UINT textMsg) {
    d["items"] = json::array();
    for (LRESULT i = 0, n = Send(hwnd, countMsg); i < n; ++i)
      d["items"].push_back(TextOf(hwnd, lenMsg, textMsg, WPARAM(i)));
  };
  if (cls == "Button") d["check"] = Send(hwnd, BM_GETCHECK);
  if (cls == "ComboBox") items(CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
  if (cls == "ListBox") items(LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
  return d;
}

// WM_NULL to the window: when it was sent, and when the window's thread took it.
json Sync(HWND hwnd, long long ms) {
  const double sent = SinceLaunchMs();
  DWORD_PTR r;
  const bool replied = hwnd && SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, 0, UINT(ms), &r);
  return {{"replied", replied}, {"sent", sent}, {"synced", SinceLaunchMs()}};
}

// What the process holds. Wine answers 0 to GetProcessHandleCount and GetGuiResources: the
// handles are counted in the system's handle list, the GDI objects as the live entries of the
// process's GDI handle table (a 64-bit PEB's GdiSharedHandleTable, 0x10000 entries of 24 bytes,
// type 0 when free), the windows (the USER objects another process sees) with EnumWindows.
json Stats(HANDLE process) {
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  std::vector<BYTE> list(1 << 16), gdi(24 * 0x10000);
  while (NtQuerySystemInformation(SYSTEM_INFORMATION_CLASS(16), list.data(), ULONG(list.size()),
                                  nullptr) == LONG(0xC0000004))
    list.resize(list.size() * 2);
  const DWORD pid = GetProcessId(process);
  const auto* entries = reinterpret_cast<const Entry*>(list.data() + sizeof(void*));
  long long handles = 0, live = 0, windows = 0;
  for (ULONG i = 0; i < *reinterpret_cast<ULONG*>(list.data()); ++i)
    handles += entries[i].pid == pid;
  PROCESS_BASIC_INFORMATION basic{};
  BYTE* table = nullptr;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, 0) == 0 &&
      ReadProcessMemory(process, PBYTE(basic.PebBaseAddress) + 0xF8, &table, sizeof table, 0) &&
      ReadProcessMemory(process, table, gdi.data(), gdi.size(), nullptr))
    for (size_t i = 0; i < 0x10000; ++i) live += gdi[i * 24 + 14] != 0;
  for (HWND top : Windows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(top, &owner);
    if (owner == pid) windows += 1 + static_cast<long long>(Windows(top).size());
  }
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  return {
      {"handles", handles}, {"gdi", live}, {"windows", windows}, {"memory", memory.PagefileUsage}};
}

json Handle(const json& c) {
  const std::string cmd = c.at(0);
  auto arg = [&](size_t i) { return i < c.size() ? c[i] : json(); };
  auto proc = [&](size_t i) { return g_processes.at(arg(i)); };
  json all = json::array();
  if (cmd == "hello")
    return {{"dpi", GetDeviceCaps(GetDC(nullptr), LOGPIXELSX)},
            {"controls", velkaro::Form1Controls().size()}};
  if (cmd == "launch") {  // no inherited handles, no console: as the shell starts it
    std::string line = arg(1), cwd = arg(2);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    QueryPerformanceCounter(&g_launch);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        cwd.c_str(), &si, &pi))
      throw std::runtime_error("CreateProcess failed: " + std::to_string(GetLastError()));
    CloseHandle(pi.hThread);
    g_processes.push_back(pi.hProcess);
    return {{"proc", g_processes.size() - 1}};
  }
  if (cmd == "wait_exit") {
    const bool exited = WaitForSingleObject(proc(2), DWORD(arg(1))) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(proc(2), &code);
    return {
        {"exited", exited}, {"exit_code", exited ? json(code) : json()}, {"t", SinceLaunchMs()}};
  }
  if (cmd == "terminate") return {{"terminated", TerminateProcess(proc(1), 1) != FALSE}};
  if (cmd == "wait") {
    HWND hwnd = nullptr;
    const std::string cond = arg(4);
    json r = PollUntil(arg(1), [&] {
      hwnd = Find(arg(2), arg(3));
      if (cond == "exists" || cond == "gone") return (hwnd != nullptr) == (cond == "exists");
      if (!hwnd || cond == "visible" || cond == "visible_sync")
        return hwnd && IsWindowVisible(hwnd);
      return (TextOf(hwnd) == arg(5)) == (cond == "text");
    });
    if (r["met"] && cond == "visible_sync") r.update(Sync(hwnd, arg(1)));
    r["window"] = Describe(hwnd);
    return r;
  }
  if (cmd == "controls") {
    for (HWND hwnd : Find(arg(1)) ? Windows(Find(arg(1))) : std::vector<HWND>())
      all.push_back(Describe(hwnd));
    return {{cmd, all}};
  }
  if (cmd == "close") return {{"posted", PostMessageW(Find(arg(1)), WM_CLOSE, 0, 0) != FALSE}};
  if (cmd == "sync") return Sync(Find(arg(2)), arg(1));
  if (cmd == "stats") return Stats(proc(1));
  throw std::runtime_error("unknown command " + cmd);
}

}  // namespace

int main() {
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_launch);
  for (std::string line; std::getline(std::cin, line) && line != "[\"quit\"]";) {
    json answer;
    try {
      answer = Handle(json::parse(line));
      answer["ok"] = true;
    } catch (const std::exception& e) {
      answer = {{"ok", false}, {"error", e.what()}};
    }
    std::cout << answer.dump(-1, ' ', false, json::error_handler_t::replace) << std::endl;
  }
}
