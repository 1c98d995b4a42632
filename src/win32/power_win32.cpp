#include "win32/power_win32.h"

#include <cstdint>
#include <limits>

#include "win32/late_bound.h"

namespace velkaro::win32 {

namespace {

using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);

const LateBound<SetSuspendStateFn>& Suspend() {
  static const LateBound<SetSuspendStateFn> suspend(L"powrprof.dll", "SetSuspendState",
                                                    Dll::LoadIfNeeded);
  return suspend;
}

}  // namespace

bool Win32Power::CanSuspend() {
  return static_cast<bool>(Suspend());
}

bool Win32Power::enableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;  // no privileges on this platform
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                 AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                 GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: not held
  CloseHandle(token);
  return enabled;
}

bool Win32Power::exitWindows(uint32_t flags, uint32_t reason) {
  return ExitWindowsEx(flags, reason) != FALSE;
}

bool Win32Power::setSuspendState(bool hibernate, bool force, bool disableWakeEvents) {
  return CanSuspend() && Suspend()(hibernate, force, disableWakeEvents);
}

bool Win32Power::lockWorkStation() {
  return LockWorkStation() != FALSE;
}

char16_t* Win32Arena::allocate(std::size_t chars) {
  if (chars == 0 || chars > std::numeric_limits<std::size_t>::max() / sizeof(char16_t))
    return nullptr;
  return static_cast<char16_t*>(
      VirtualAlloc(nullptr, chars * sizeof(char16_t), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

void Win32Arena::release(char16_t* chunk) {
  if (chunk) VirtualFree(chunk, 0, MEM_RELEASE);
}

}  // namespace velkaro::win32
