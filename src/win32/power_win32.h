// Power actions and the memory release's memory with Windows calls.
#pragma once

#include <windows.h>

#include "platform/power.h"

namespace velkaro::win32 {

class Win32Power : public Power {
 public:
  bool enableShutdownPrivilege() override;
  bool exitWindows(uint32_t flags, uint32_t reason) override;
  bool setSuspendState(bool hibernate, bool force, bool disableWakeEvents) override;
  bool lockWorkStation() override;
  // Whether the system has the call behind stand-by (it is bound at run time).
  static bool CanSuspend();
};

// Chunks from VirtualAlloc, reserved and committed at once.
class Win32Arena : public MemoryArena {
 public:
  char16_t* allocate(std::size_t chars) override;
  void release(char16_t* chunk) override;
};

}  // namespace velkaro::win32
