#include "win32/machine_win32.h"

#include <string>

#include "win32/late_bound.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  wchar_t buffer[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 0) return fallback;
  return Narrow(buffer);
}

constexpr WORD kAllProcessorGroups = 0xFFFF;

}  // namespace

MemoryStatus Win32Machine::memoryStatus() {
  MEMORYSTATUSEX ex{};
  ex.dwLength = sizeof ex;
  if (GlobalMemoryStatusEx(&ex))
    return {ex.dwMemoryLoad,     ex.ullTotalPhys,    ex.ullAvailPhys,   ex.ullTotalPageFile,
            ex.ullAvailPageFile, ex.ullTotalVirtual, ex.ullAvailVirtual};
  // The 32-bit figures, where the extended call is refused.
  MEMORYSTATUS plain{};
  plain.dwLength = sizeof plain;
  GlobalMemoryStatus(&plain);
  return {plain.dwMemoryLoad,    plain.dwTotalPhys,    plain.dwAvailPhys,   plain.dwTotalPageFile,
          plain.dwAvailPageFile, plain.dwTotalVirtual, plain.dwAvailVirtual};
}

numfmt::NumberSettings Win32Machine::numberSettings() {
  numfmt::NumberSettings s;
  s.decimal = LocaleText(LOCALE_SDECIMAL, ".");
  s.group = LocaleText(LOCALE_STHOUSAND, ",");
  s.grouping = numfmt::ParseGrouping(LocaleText(LOCALE_SGROUPING, "3;0"));
  s.leadingZero = LocaleText(LOCALE_ILZERO, "1") != "0";
  s.negativeOrder = std::stoi("0" + LocaleText(LOCALE_INEGNUMBER, "1"));
  return s;
}

PowerStatus Win32Machine::powerStatus() {
  SYSTEM_POWER_STATUS record{};
  if (!GetSystemPowerStatus(&record)) return {};
  PowerStatus out;
  out.acLineStatus = record.ACLineStatus;
  out.batteryFlag = record.BatteryFlag;
  out.batteryLifePercent = record.BatteryLifePercent;
  out.batteryLifeTime = record.BatteryLifeTime;
  out.batteryFullLifeTime = record.BatteryFullLifeTime;
  return out;
}

ProcessorFacts Win32Machine::processorFacts() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  ProcessorFacts out;
  out.numberOfProcessors = info.dwNumberOfProcessors;
  out.processorType = info.dwProcessorType;
  // From Windows 7 on.
  using ActiveProcessorCountFn = DWORD(WINAPI*)(WORD);
  static const LateBound<ActiveProcessorCountFn> activeCount(L"kernel32.dll",
                                                             "GetActiveProcessorCount");
  if (activeCount) {
    if (const DWORD n = activeCount(kAllProcessorGroups)) out.activeProcessors = n;
  }
  return out;
}

}  // namespace velkaro::win32
