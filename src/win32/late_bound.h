// A function of a system DLL bound at run time: for calls that the oldest supported Windows
// lacks (so the import table names only what that Windows exports) and for DLLs that are not
// part of every installation. Looked up once, when the object is made; an absent DLL or
// function reads as false / nullptr and the caller takes its fallback.
//
//   using TickCount64Fn = ULONGLONG(WINAPI*)();
//   static const LateBound<TickCount64Fn> tickCount64(L"kernel32.dll", "GetTickCount64");
//   if (tickCount64) return tickCount64();
#pragma once

#include <windows.h>

namespace velkaro::win32 {

// Whether the DLL is loaded for the look-up (kept loaded for the life of the process), or only
// found when the process has it already (kernel32, user32 and ntdll always are).
enum class Dll { AlreadyLoaded, LoadIfNeeded };

template <typename Fn>
class LateBound {
 public:
  LateBound(const wchar_t* dll, const char* name, Dll how = Dll::AlreadyLoaded)
      : module_(how == Dll::LoadIfNeeded ? LoadLibraryW(dll) : GetModuleHandleW(dll)),
        fn_(module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
                    : nullptr) {}
  LateBound(const LateBound&) = delete;
  LateBound& operator=(const LateBound&) = delete;

  explicit operator bool() const { return fn_ != nullptr; }
  // Whether the DLL was found, with or without the function.
  bool dllFound() const { return module_ != nullptr; }

  template <typename... Args>
  auto operator()(Args&&... args) const {
    return fn_(static_cast<Args&&>(args)...);
  }

 private:
  HMODULE module_;
  Fn fn_;
};

}  // namespace velkaro::win32
