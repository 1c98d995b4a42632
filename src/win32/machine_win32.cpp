#include "win32/machine_win32.h"

#include <string>

#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  wchar_t buffer[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16) <= 0) return fallback;
  return Narrow(buffer);
}

}  // namespace

MemoryStatus Win32Machine::memoryStatus() {
  MemoryStatus out;
  MEMORYSTATUSEX ex{};
  ex.dwLength = sizeof ex;
  if (GlobalMemoryStatusEx(&ex)) {
    out.memoryLoad = ex.dwMemoryLoad;
    out.totalPhys = ex.ullTotalPhys;
    out.availPhys = ex.ullAvailPhys;
    out.totalPageFile = ex.ullTotalPageFile;
    out.availPageFile = ex.ullAvailPageFile;
    out.totalVirtual = ex.ullTotalVirtual;
    out.availVirtual = ex.ullAvailVirtual;
    return out;
  }
  MEMORYSTATUS plain{};
  plain.dwLength = sizeof plain;
  GlobalMemoryStatus(&plain);
  out.memoryLoad = plain.dwMemoryLoad;
  out.totalPhys = plain.dwTotalPhys;
  out.availPhys = plain.dwAvailPhys;
  out.totalPageFile = plain.dwTotalPageFile;
  out.availPageFile = plain.dwAvailPageFile;
  out.totalVirtual = plain.dwTotalVirtual;
  out.availVirtual = plain.dwAvailVirtual;
  return out;
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

}  // namespace velkaro::win32
