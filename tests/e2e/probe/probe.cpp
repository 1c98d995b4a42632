// probe.exe: the end-to-end tests' agent inside the Wine prefix. It reads one command per line
// on stdin (fields separated by TAB, UTF-8) and answers each with one line of JSON on stdout.
// It launches the program under test, watches its windows and controls from outside (window
// messages only, every one with a timeout), reads and changes the registry and reads files.
// Waits poll their condition every millisecond inside the probe, so reported times are exact
// to about a millisecond; times are milliseconds since the latest launch.
//
// Commands (replies always carry "ok"; a failed command gives "ok":false and "error"):
//   hello                                   -> pid, dpi
//   setenv NAME VALUE                       environment for later launches (not WINE*)
//   launch CMDLINE [CWD]                    -> proc, pid
//   proc N | wait_exit N TIMEOUT_MS         -> exited, running, exit_code, t (proc: no wait)
//   terminate N
//   window CLASS [TITLE]                    -> found, window{...}
//   wait_window CLASS TIMEOUT_MS COND [TITLE]   COND: exists visible hidden gone, or
//                                           visible_sync: visible, then at once as sync
//   processes                               -> processes[{pid, exe}] of the prefix
//   windows                                 -> windows[{...}]: every top-level window
//   close_window HWND                       posts WM_CLOSE to a top-level window
//   control CLASS NAME|ID                   -> found, control{...}
//   controls CLASS                          -> controls[...] (all descendants)
//   set_text CLASS NAME|ID TEXT             -> sent (WM_SETTEXT, as if the user had typed)
//   table                                   -> controls[...] of the main window's control table
//   wait_control CLASS NAME|ID TIMEOUT_MS COND [VALUE]
//                                           COND: exists visible hidden text text_not
//   sync CLASS TIMEOUT_MS                   -> replied, sent, synced (when it returned)
//   now                                     -> t
//   reg_get KEY NAME [32|64]                -> found, type, value (strings and DWORDs as such,
//                                           anything else as hex)
//   reg_set KEY NAME REG_SZ DATA
//   stats N                                 -> handles, gdi, user, private, pagefile,
//                                           system_handles, gdi_table, windows (ProcessStats)
//   modules N                               -> modules[]: the DLLs the process has loaded
//   quit
#include "app/layout.h"
#include "probe.h"

namespace probe {

// ---- text ----

std::wstring Wide(const std::string& s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), &w[0], n);
  return w;
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    fields.push_back(
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ParseInt(const std::string& s, long long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtoll(s.c_str(), &end, 0);
  return end && *end == '\0';
}

}  // namespace probe

namespace {

using namespace probe;

// ---- clock ----

LARGE_INTEGER g_frequency;
LARGE_INTEGER g_launch;  // time of the latest launch (probe start before the first one)

double SinceLaunchMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - g_launch.QuadPart) * 1000.0 /
         static_cast<double>(g_frequency.QuadPart);
}

// Polls `met` every millisecond until it holds or the deadline passes; true when it held.
template <typename Condition>
bool PollUntil(long long timeoutMs, Condition met) {
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  const LONGLONG limit = timeoutMs * g_frequency.QuadPart / 1000;
  for (;;) {
    if (met()) return true;
    QueryPerformanceCounter(&now);
    if (now.QuadPart - start.QuadPart >= limit) return false;
    Sleep(1);
  }
}

// ---- the agent ----

class Probe {
 public:
  // Answers one command line; false when the probe should end.
  bool handle(const std::string& line, Json& j) {
    const auto f = SplitTabs(line);
    const std::string& cmd = f[0];
    auto arg = [&](size_t i) -> const std::string& {
      static const std::string empty;
      return i < f.size() ? f[i] : empty;
    };
    auto number = [&](size_t i, long long& out) { return ParseInt(arg(i), out); };
    long long n;
    HANDLE h = number(1, n) ? process(n) : nullptr;  // the launched process of field 1

    if (cmd == "hello") {
      HDC dc = GetDC(nullptr);
      const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
      ReleaseDC(nullptr, dc);
      ok(j).key("pid").num(GetCurrentProcessId());
      j.key("dpi").num(dpi);
    } else if (cmd == "quit") {
      ok(j);
      return false;
    } else if (cmd == "now") {
      ok(j).key("t").real(SinceLaunchMs());
    } else if (cmd == "setenv" && f.size() == 3) {
      // Wine hands a new process the WINE* variables of the parent's Unix environment, so
      // setting them here would change nothing for the next launch.
      if (_strnicmp(f[1].c_str(), "WINE", 4) == 0)
        return fail(j, "WINE* variables must be in the probe's own environment");
      if (!SetEnvironmentVariableW(Wide(f[1]).c_str(), Wide(f[2]).c_str()))
        return fail(j, "setenv");
      ok(j);
    } else if (cmd == "launch" && f.size() >= 2) {
      launch(j, f[1], arg(2));
    } else if ((cmd == "proc" && f.size() == 2) || (cmd == "wait_exit" && f.size() == 3)) {
      long long timeout = 0;  // proc: the state now
      if (!h || (f.size() == 3 && !number(2, timeout))) return fail(j, "bad arguments");
      const bool exited = WaitForSingleObject(h, static_cast<DWORD>(timeout)) == WAIT_OBJECT_0;
      const double t = SinceLaunchMs();
      DWORD code = 0;
      GetExitCodeProcess(h, &code);
      ok(j).key("exited").boolean(exited).key("running").boolean(!exited).key("exit_code");
      exited ? j.num(code) : j.null();
      j.key("t").real(t);
    } else if (cmd == "terminate" && f.size() == 2) {
      if (!h) return fail(j, "no such process");
      TerminateProcess(h, 1);
      ok(j).key("exited").boolean(WaitForSingleObject(h, 5000) == WAIT_OBJECT_0);
    } else if (cmd == "window" && f.size() >= 2) {
      HWND hwnd = FindTop(f[1], f.size() >= 3 ? &f[2] : nullptr);
      ok(j).key("found").boolean(hwnd != nullptr);
      j.key("window");
      hwnd ? DescribeWindow(j, hwnd) : void(j.null());
    } else if (cmd == "wait_window" && f.size() >= 4) {
      waitWindow(j, f);
    } else if (cmd == "control" && f.size() == 3) {
      int id;
      if (!ResolveId(f[2], id)) return fail(j, "unknown control name");
      HWND hwnd = FindControlWindow(f[1], id);
      ok(j).key("found").boolean(hwnd != nullptr);
      j.key("control");
      hwnd ? DescribeControl(j, hwnd, id) : void(j.null());
    } else if (cmd == "set_text" && f.size() == 4) {
      int id;
      if (!ResolveId(f[2], id)) return fail(j, "unknown control name");
      HWND hwnd = FindControlWindow(f[1], id);
      if (!hwnd) return fail(j, "no such control");
      const std::wstring text = Wide(f[3]);
      DWORD_PTR result = 0;
      ok(j).key("sent").boolean(SendMessageTimeoutW(hwnd, WM_SETTEXT, 0,
                                                    reinterpret_cast<LPARAM>(text.c_str()),
                                                    SMTO_ABORTIFHUNG, 5000, &result) != 0);
    } else if (cmd == "controls" && f.size() == 2) {
      HWND top = FindTop(f[1], nullptr);
      if (!top) return fail(j, "no such window");
      ok(j).key("controls").openArray();
      for (const auto& c : Descendants(top)) DescribeControl(j, c.hwnd, c.id);
      j.closeArray();
    } else if (cmd == "table") {
      ok(j).key("controls").openArray();
      for (const auto& c : velkaro::Form1Controls()) {
        const velkaro::ControlSpec* parent = velkaro::FindControl(c.parent);
        j.open().key("id").num(c.id);
        j.key("name").str(c.name);
        j.key("parent").str(parent ? parent->name : std::string());
        j.key("visible").boolean(c.visible);
        j.key("caption").str(c.caption);
        j.close();
      }
      j.closeArray();
    } else if (cmd == "wait_control" && f.size() >= 5) {
      waitControl(j, f);
    } else if (cmd == "sync" && f.size() == 3) {
      long long timeout;
      HWND hwnd = FindTop(f[1], nullptr);
      if (!number(2, timeout)) return fail(j, "bad timeout");
      if (!hwnd) return fail(j, "no such window");
      ok(j);
      Sync(j, hwnd, timeout);
    } else if (cmd == "processes") {
      processes(j);
    } else if (cmd == "windows") {
      std::vector<HWND> tops;
      EnumWindows(CollectAllTop, reinterpret_cast<LPARAM>(&tops));
      ok(j).key("windows").openArray();
      for (HWND hwnd : tops) DescribeWindow(j, hwnd);
      j.closeArray();
    } else if (cmd == "close_window" && f.size() == 2) {
      if (!number(1, n)) return fail(j, "bad window");
      HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(n));
      if (!IsWindow(hwnd)) return fail(j, "no such window");
      ok(j).key("posted").boolean(PostMessageW(hwnd, WM_CLOSE, 0, 0) != FALSE);
    } else if (cmd == "reg_get" && f.size() >= 3) {
      regGet(j, f[1], f[2], arg(3));
    } else if (cmd == "reg_set" && f.size() == 5) {
      regSet(j, f[1], f[2], f[3], f[4]);
    } else if (cmd == "stats" && f.size() == 2) {
      if (!h) return fail(j, "no such process");
      ProcessStats(ok(j), h);
    } else if (cmd == "modules" && f.size() == 2) {
      HMODULE loaded[1024];
      DWORD bytes = 0;
      if (!h || !EnumProcessModules(h, loaded, sizeof loaded, &bytes))
        return fail(j, "EnumProcessModules failed");
      ok(j).key("modules").openArray();
      for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (GetModuleBaseNameW(h, loaded[i], name, MAX_PATH)) j.str(Utf8(name));
      }
      j.closeArray();
    } else {
      fail(j, "unknown command or wrong number of fields: " + cmd);
    }
    return true;
  }

 private:
  static Json& ok(Json& j) { return j.open().key("ok").boolean(true); }
  static bool fail(Json& j, const std::string& why) {
    j.open().key("ok").boolean(false);
    j.key("error").str(why);
    return true;
  }

  HANDLE process(long long n) const {
    return n >= 0 && n < static_cast<long long>(processes_.size()) ? processes_[n] : nullptr;
  }

  void launch(Json& j, const std::string& cmdLine, const std::string& cwd) {
    std::wstring line = Wide(cmdLine);
    const std::wstring dir = Wide(cwd);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    QueryPerformanceCounter(&g_launch);
    // No handle inheritance and no console: the program starts as from the shell, and the
    // probe's pipes stay the probe's.
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
      fail(j, "CreateProcess failed: " + std::to_string(GetLastError()));
      return;
    }
    CloseHandle(pi.hThread);
    processes_.push_back(pi.hProcess);
    ok(j).key("proc").num(static_cast<long long>(processes_.size() - 1));
    j.key("pid").num(pi.dwProcessId);
  }

  // Sends WM_NULL and reports when it was sent and when the window's thread answered, i.e.
  // the next time it took messages.
  static void Sync(Json& j, HWND hwnd, long long timeoutMs) {
    const double sent = SinceLaunchMs();
    DWORD_PTR r = 0;
    const bool replied = SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL,
                                             static_cast<UINT>(timeoutMs), &r) != 0;
    const double t = SinceLaunchMs();
    j.key("replied").boolean(replied);
    j.key("sent").real(sent);
    j.key("synced").real(t);
  }

  void processes(Json& j) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return void(fail(j, "CreateToolhelp32Snapshot failed"));
    ok(j).key("processes").openArray();
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e)) {
      j.open().key("pid").num(e.th32ProcessID);
      j.key("exe").str(Utf8(e.szExeFile));
      j.close();
    }
    j.closeArray();
    CloseHandle(snap);
  }

  // Polls `check` until it holds or the timeout passes; answers met and when that was decided.
  template <typename Condition>
  static bool Wait(Json& j, long long timeoutMs, Condition check) {
    const bool met = PollUntil(timeoutMs, check);
    const double t = SinceLaunchMs();
    ok(j).key("met").boolean(met);
    j.key("t").real(t);
    return met;
  }

  static bool OneOf(const std::string& cond, const char* list) {
    return std::string(list).find(" " + cond + " ") != std::string::npos;
  }

  void waitWindow(Json& j, const std::vector<std::string>& f) {
    long long timeout;
    if (!ParseInt(f[2], timeout)) return void(fail(j, "bad timeout"));
    const std::string& cond = f[3];
    if (!OneOf(cond, " exists visible visible_sync hidden gone "))
      return void(fail(j, "unknown condition"));
    const std::string* title = f.size() >= 5 ? &f[4] : nullptr;
    HWND hwnd = nullptr;
    const bool met = Wait(j, timeout, [&] {
      hwnd = FindTop(f[1], title);
      if (cond == "exists") return hwnd != nullptr;
      if (cond == "gone") return hwnd == nullptr;
      return hwnd && (IsWindowVisible(hwnd) != FALSE) == (cond != "hidden");
    });
    if (met && cond == "visible_sync") Sync(j, hwnd, timeout);
    j.key("window");
    hwnd ? DescribeWindow(j, hwnd) : void(j.null());
  }

  void waitControl(Json& j, const std::vector<std::string>& f) {
    int id;
    long long timeout;
    if (!ResolveId(f[2], id)) return void(fail(j, "unknown control name"));
    if (!ParseInt(f[3], timeout)) return void(fail(j, "bad timeout"));
    const std::string& cond = f[4];
    if (!OneOf(cond, " exists visible hidden text text_not "))
      return void(fail(j, "unknown condition"));
    const std::wstring value = f.size() >= 6 ? Wide(f[5]) : std::wstring();
    HWND hwnd = nullptr;
    Wait(j, timeout, [&] {
      hwnd = FindControlWindow(f[1], id);
      if (!hwnd) return false;
      if (cond == "exists") return true;
      if (cond == "visible" || cond == "hidden")
        return (IsWindowVisible(hwnd) != FALSE) == (cond == "visible");
      std::wstring text;
      return TextOf(hwnd, text) && (text == value) == (cond == "text");
    });
    j.key("control");
    hwnd ? DescribeControl(j, hwnd, id) : void(j.null());
  }

  static REGSAM View(const std::string& view) {
    if (view == "32") return KEY_WOW64_32KEY;
    if (view == "64") return KEY_WOW64_64KEY;
    return 0;
  }

  void regGet(Json& j, const std::string& path, const std::string& name, const std::string& view) {
    HKEY root;
    std::wstring sub;
    if (!SplitKey(path, root, sub)) return void(fail(j, "unknown root key"));
    Key key;
    const std::wstring wname = Wide(name);
    DWORD type = 0, size = 0;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_QUERY_VALUE | View(view), key.out()) !=
            ERROR_SUCCESS ||
        RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return void(ok(j).key("found").boolean(false));
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS)
      return void(fail(j, "RegQueryValueEx failed"));
    data.resize(size);
    ok(j).key("found").boolean(true);
    j.key("type").str(TypeName(type));
    j.key("value");
    DecodeValue(j, type, data);
  }

  void regSet(Json& j, const std::string& path, const std::string& name, const std::string& type,
              const std::string& data) {
    HKEY root;
    std::wstring sub;
    if (!SplitKey(path, root, sub)) return void(fail(j, "unknown root key"));
    if (type != "REG_SZ") return void(fail(j, "unsupported type"));
    Key key;
    if (RegCreateKeyExW(root, sub.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.out(),
                        nullptr) != ERROR_SUCCESS)
      return void(fail(j, "RegCreateKeyEx failed"));
    const std::wstring w = Wide(data);
    const LONG rc = RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(w.c_str()),
                                   static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) return void(fail(j, "RegSetValueEx failed"));
    ok(j);
  }

  std::vector<HANDLE> processes_;
};

bool WriteAll(HANDLE out, const std::string& s) {
  size_t done = 0;
  while (done < s.size()) {
    DWORD wrote = 0;
    if (!WriteFile(out, s.data() + done, static_cast<DWORD>(s.size() - done), &wrote, nullptr))
      return false;
    done += wrote;
  }
  return true;
}

}  // namespace

int main() {
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_launch);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  Probe probe;
  std::string pending;
  char buf[4096];
  for (;;) {
    std::string::size_type nl;
    while ((nl = pending.find('\n')) == std::string::npos) {
      DWORD got = 0;
      if (!ReadFile(in, buf, sizeof buf, &got, nullptr) || got == 0) return 0;  // stdin closed
      pending.append(buf, got);
    }
    std::string line = pending.substr(0, nl);
    pending.erase(0, nl + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Json j;
    const bool more = probe.handle(line, j);
    j.close();
    if (!WriteAll(out, j.text() + "\n") || !more) return 0;
  }
}
