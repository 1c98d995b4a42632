// probe.exe: windows and controls of the program under test, seen from outside.
#include "app/layout.h"
#include "probe.h"

namespace probe {

// ---- windows ----

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TitleOf(HWND hwnd) {
  wchar_t title[512] = {};
  GetWindowTextW(hwnd, title, 512);  // top-level windows: no message is sent
  return title;
}

struct TopSearch {
  std::wstring cls;
  std::wstring title;
  bool anyTitle;
  HWND visible = nullptr;
  HWND first = nullptr;
};

BOOL CALLBACK CollectAllTop(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<TopSearch*>(param);
  if (ClassOf(hwnd) != s->cls) return TRUE;
  if (!s->anyTitle && TitleOf(hwnd) != s->title) return TRUE;
  if (!s->first) s->first = hwnd;
  if (IsWindowVisible(hwnd)) {
    s->visible = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The top-level window of the class (and title, when given); a visible one is preferred.
HWND FindTop(const std::string& cls, const std::string* title) {
  TopSearch s{Wide(cls), title ? Wide(*title) : std::wstring(), title == nullptr};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.visible ? s.visible : s.first;
}

void DescribeWindow(Json& j, HWND hwnd) {
  RECT r{}, c{};
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &c);
  POINT tl{c.left, c.top}, br{c.right, c.bottom};
  ClientToScreen(hwnd, &tl);
  ClientToScreen(hwnd, &br);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  j.open();
  j.key("hwnd").num(static_cast<long long>(reinterpret_cast<uintptr_t>(hwnd)));
  j.key("pid").num(pid);
  j.key("class").str(Utf8(ClassOf(hwnd)));
  j.key("title").str(Utf8(TitleOf(hwnd)));
  j.key("visible").boolean(IsWindowVisible(hwnd) != FALSE);
  j.key("rect").rect(r);
  j.key("client").rect(RECT{tl.x, tl.y, br.x, br.y});
  j.close();
}

bool Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  DWORD_PTR r = 0;
  if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &r)) return false;
  result = static_cast<LRESULT>(r);
  return true;
}

// Text a control answers to a length and a text message: its own (WM_GETTEXT takes the
// buffer size) or an item's of a list or combo box (the messages take the item's index).
bool TextOf(HWND hwnd, std::wstring& text, UINT lenMsg, UINT textMsg, WPARAM index) {
  LRESULT len = 0, got = 0;
  if (!Send(hwnd, lenMsg, index, 0, len) || len < 0) return false;
  std::vector<wchar_t> buf(static_cast<size_t>(len) + 2, L'\0');
  const WPARAM w = textMsg == WM_GETTEXT ? buf.size() : index;
  if (!Send(hwnd, textMsg, w, reinterpret_cast<LPARAM>(buf.data()), got)) return false;
  text.assign(buf.data());
  return true;
}

// Items of a combo box or list box: count, item length and item text messages of its kind.
bool Items(HWND hwnd, UINT countMsg, UINT lenMsg, UINT textMsg, std::vector<std::wstring>& items) {
  LRESULT count = 0;
  if (!Send(hwnd, countMsg, 0, 0, count) || count < 0) return false;
  items.resize(static_cast<size_t>(count));
  for (LRESULT i = 0; i < count; ++i)
    if (!TextOf(hwnd, items[i], lenMsg, textMsg, i)) return false;
  return true;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<ControlInfo>*>(param)->push_back({hwnd, GetDlgCtrlID(hwnd)});
  return TRUE;
}

std::vector<ControlInfo> Descendants(HWND top) {
  std::vector<ControlInfo> all;
  EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

// A control name from the main window's control table, or a number.
bool ResolveId(const std::string& nameOrId, int& id) {
  long long n = 0;
  if (ParseInt(nameOrId, n)) {
    id = static_cast<int>(n);
    return true;
  }
  const velkaro::ControlSpec* entry = velkaro::FindControl(nameOrId);
  if (!entry) return false;
  id = entry->id;
  return true;
}

// The control with that ID inside the top-level window of the class.
HWND FindControlWindow(const std::string& cls, int id) {
  HWND top = FindTop(cls, nullptr);
  for (const auto& c : top ? Descendants(top) : std::vector<ControlInfo>())
    if (c.id == id) return c.hwnd;
  return nullptr;
}

void DescribeControl(Json& j, HWND hwnd, int id) {
  const std::wstring cls = ClassOf(hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  j.open();
  j.key("id").num(id);
  const velkaro::ControlSpec* entry = velkaro::FindControl(id);
  j.key("name").str(entry ? entry->name : std::string());
  j.key("class").str(Utf8(cls));
  j.key("visible").boolean(IsWindowVisible(hwnd) != FALSE);
  j.key("rect").rect(r);
  std::wstring text;
  j.key("text");
  if (TextOf(hwnd, text))
    j.str(Utf8(text));
  else
    j.null();
  LRESULT v = 0;
  if (lstrcmpiW(cls.c_str(), L"Button") == 0 && Send(hwnd, BM_GETCHECK, 0, 0, v))
    j.key("check").num(v);
  std::vector<std::wstring> items;
  bool listed = false;
  if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0)
    listed = Items(hwnd, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, items);
  else if (lstrcmpiW(cls.c_str(), L"ListBox") == 0)
    listed = Items(hwnd, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, items);
  if (listed) {
    j.key("items").openArray();
    for (const auto& item : items) j.str(Utf8(item));
    j.closeArray();
  }
  j.close();
}

}  // namespace probe
