// Shared parts of probe.exe: text conversion, JSON answers, and the look-ups of windows,
// controls, registry values and process resources that the commands use.
#pragma once

// Newer process calls (handle count, GUI resources, private bytes) for the stats command.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace probe {

std::wstring Wide(const std::string& s);
std::string Utf8(const std::wstring& w);
// A whole decimal (or 0x hex) number; false when the text is anything else.
bool ParseInt(const std::string& s, long long& out);

// ---- JSON output ----

class Json {
 public:
  Json& open() { return raw('{', true); }
  Json& close() { return raw('}', false); }
  Json& openArray() { return raw('[', true); }
  Json& closeArray() { return raw(']', false); }
  Json& key(const char* k) {
    separate();
    quoted(k);
    out_ += ':';
    first_ = true;
    return *this;
  }
  Json& str(const std::string& s) {
    separate();
    quoted(s);
    return *this;
  }
  Json& num(long long v) { return value(std::to_string(v)); }
  Json& real(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return value(buf);
  }
  Json& boolean(bool v) { return value(v ? "true" : "false"); }
  Json& null() { return value("null"); }
  Json& rect(const RECT& r) {
    openArray().num(r.left).num(r.top).num(r.right).num(r.bottom);
    return closeArray();
  }
  const std::string& text() const { return out_; }

 private:
  // A comma before every element but the first of an object or array, and none after a key.
  void separate() {
    if (!first_) out_ += ',';
    first_ = false;
  }
  Json& raw(char c, bool opens) {
    if (opens) separate();
    out_ += c;
    first_ = opens;
    return *this;
  }
  Json& value(const std::string& v) {
    separate();
    out_ += v;
    return *this;
  }
  void quoted(const std::string& s) {
    out_ += '"';
    for (unsigned char c : s) {
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += static_cast<char>(c);
      } else if (c < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out_ += buf;
      } else {
        out_ += static_cast<char>(c);
      }
    }
    out_ += '"';
  }
  std::string out_;
  bool first_ = true;
};

// ---- windows (probe_windows.cpp) ----

constexpr UINT kMessageTimeoutMs = 2000;

struct ControlInfo {
  HWND hwnd;
  int id;
};

BOOL CALLBACK CollectAllTop(HWND hwnd, LPARAM param);
HWND FindTop(const std::string& cls, const std::string* title);
void DescribeWindow(Json& j, HWND hwnd);
// A control's text (WM_GETTEXT) or, with other messages, a list or combo box item's.
bool TextOf(HWND hwnd, std::wstring& text, UINT lenMsg = WM_GETTEXTLENGTH,
            UINT textMsg = WM_GETTEXT, WPARAM index = 0);
std::vector<ControlInfo> Descendants(HWND top);
bool ResolveId(const std::string& nameOrId, int& id);
HWND FindControlWindow(const std::string& cls, int id);
void DescribeControl(Json& j, HWND hwnd, int id);

// ---- registry and process resources (probe_system.cpp) ----

bool SplitKey(const std::string& path, HKEY& root, std::wstring& sub);
const char* TypeName(DWORD type);
void DecodeValue(Json& j, DWORD type, const std::vector<BYTE>& data);

class Key {
 public:
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* out() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

void ProcessStats(Json& j, HANDLE process);

}  // namespace probe
