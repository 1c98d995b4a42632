// Power actions of the session and the memory that the memory release claims.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velkaro {

// Ending the session or the machine's running state. Every call returns at once with whether
// the platform accepted it; the program does not show the result.
class Power {
 public:
  virtual ~Power() = default;
  // Enables the shutdown privilege on the process token (NT needs it for power-off, restart and
  // hibernate). True when it is enabled or the platform has no privileges.
  virtual bool enableShutdownPrivilege() = 0;
  // user32 ExitWindowsEx(flags, reason).
  virtual bool exitWindows(uint32_t flags, uint32_t reason) = 0;
  // powrprof SetSuspendState, looked up at run time; false when it is missing or refused.
  virtual bool setSuspendState(bool hibernate, bool force, bool disableWakeEvents) = 0;
  // user32 LockWorkStation.
  virtual bool lockWorkStation() = 0;
};

// Memory that is really committed: the memory release claims it chunk by chunk and gives it back.
class MemoryArena {
 public:
  virtual ~MemoryArena() = default;
  // Reserves and commits room for `chars` 16-bit characters; nullptr when the address space or
  // the commit limit has no room. The content is unspecified until written.
  virtual char16_t* allocate(std::size_t chars) = 0;
  // Gives a chunk from allocate back.
  virtual void release(char16_t* chunk) = 0;
};

}  // namespace velkaro
