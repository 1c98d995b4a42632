// What the Win32 tests of waiting calls share: a window event that comes while a call waits, and
// the limits of the tests' waits.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "platform/deadlines.h"

namespace velkaro::win32 {

// A window event that comes while a call waits: a thread timer whose procedure runs once.
inline std::function<void()> g_event;
inline int g_handled;

inline void CALLBACK RunEvent(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ++g_handled;
  if (auto event = std::exchange(g_event, nullptr)) event();
}

inline void Post(std::function<void()> event = [] {}) {
  g_event = std::move(event);
  SetTimer(nullptr, 0, 0, RunEvent);
}

// A work of 0.1 s gives up a hung call after 0.2 s, and the service is left alone for 0.2 s.
inline constexpr ServiceTiming kTiming{5.0, 0.05, 0.1, 0.2};

}  // namespace velkaro::win32
