#include "win32/perf_win32.h"

#include <pdh.h>

#include <string>

#include "win32/late_bound.h"
#include "win32/wide.h"

namespace velkaro::win32 {

namespace {

using OpenQueryFn = PDH_STATUS(WINAPI*)(LPCSTR, DWORD_PTR, PDH_HQUERY*);
using AddCounterFn = PDH_STATUS(WINAPI*)(PDH_HQUERY, LPCSTR, DWORD_PTR, PDH_HCOUNTER*);
using QueryFn = PDH_STATUS(WINAPI*)(PDH_HQUERY);
using FormattedValueFn = PDH_STATUS(WINAPI*)(PDH_HCOUNTER, DWORD, LPDWORD, PPDH_FMT_COUNTERVALUE);
using NtQuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

constexpr ULONG kSystemProcessorPerformanceInformation = 8;
constexpr ULONG kMaxProcessors = 64;

struct ProcessorPerformance {
  LARGE_INTEGER idle;
  LARGE_INTEGER kernel;
  LARGE_INTEGER user;
  LARGE_INTEGER dpc;
  LARGE_INTEGER interrupt;
  ULONG interruptCount;
};

// Counter paths are ANSI text in the system's code page.
std::string Ansi(const std::string& utf8) {
  return ToAnsi(utf8).value_or(std::string());
}

uint64_t Count(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// The PDH calls, bound when the first one is needed (only on the NT family): pdh.dll is loaded
// then and stays for the life of the process. PdhAddEnglishCounterA is Windows Vista's.
struct PdhCalls {
  LateBound<OpenQueryFn> openQuery{L"pdh.dll", "PdhOpenQueryA", Dll::LoadIfNeeded};
  LateBound<AddCounterFn> addCounter{L"pdh.dll", "PdhAddCounterA", Dll::LoadIfNeeded};
  LateBound<AddCounterFn> addEnglishCounter{L"pdh.dll", "PdhAddEnglishCounterA", Dll::LoadIfNeeded};
  LateBound<QueryFn> collect{L"pdh.dll", "PdhCollectQueryData", Dll::LoadIfNeeded};
  LateBound<FormattedValueFn> formattedValue{L"pdh.dll", "PdhGetFormattedCounterValue",
                                             Dll::LoadIfNeeded};
  LateBound<QueryFn> closeQuery{L"pdh.dll", "PdhCloseQuery", Dll::LoadIfNeeded};
};

const PdhCalls& Pdh() {
  static const PdhCalls calls;
  return calls;
}

uint32_t AddByName(const LateBound<AddCounterFn>& add, PdhHandle query, const std::string& path,
                   PdhHandle& counter) {
  if (!add) return pdh::kFunctionMissing;
  PDH_HCOUNTER handle = nullptr;
  const PDH_STATUS status =
      add(reinterpret_cast<PDH_HQUERY>(query), Ansi(path).c_str(), 0, &handle);
  if (status == ERROR_SUCCESS) counter = reinterpret_cast<PdhHandle>(handle);
  return static_cast<uint32_t>(status);
}

}  // namespace

uint32_t Win32PerfCounters::openQuery(PdhHandle& query) {
  const auto& open = Pdh().openQuery;
  if (!open) return open.dllFound() ? pdh::kFunctionMissing : pdh::kLibraryMissing;
  PDH_HQUERY handle = nullptr;
  const PDH_STATUS status = open(nullptr, 1, &handle);
  if (status == ERROR_SUCCESS) query = reinterpret_cast<PdhHandle>(handle);
  return static_cast<uint32_t>(status);
}

uint32_t Win32PerfCounters::addCounter(PdhHandle query, const std::string& path,
                                       PdhHandle& counter) {
  return AddByName(Pdh().addCounter, query, path, counter);
}

uint32_t Win32PerfCounters::addEnglishCounter(PdhHandle query, const std::string& path,
                                              PdhHandle& counter) {
  return AddByName(Pdh().addEnglishCounter, query, path, counter);
}

uint32_t Win32PerfCounters::collect(PdhHandle query) {
  const auto& collect = Pdh().collect;
  if (!collect) return pdh::kFunctionMissing;
  return static_cast<uint32_t>(collect(reinterpret_cast<PDH_HQUERY>(query)));
}

CounterValue Win32PerfCounters::doubleValue(PdhHandle counter) {
  CounterValue result;
  const auto& get = Pdh().formattedValue;
  if (!get) {
    result.status = pdh::kFunctionMissing;
    return result;
  }
  PDH_FMT_COUNTERVALUE value{};
  const PDH_STATUS status =
      get(reinterpret_cast<PDH_HCOUNTER>(counter), PDH_FMT_DOUBLE, nullptr, &value);
  result.status = status != ERROR_SUCCESS ? static_cast<uint32_t>(status) : value.CStatus;
  if (status == ERROR_SUCCESS) result.value = value.doubleValue;
  return result;
}

void Win32PerfCounters::closeQuery(PdhHandle query) {
  if (const auto& close = Pdh().closeQuery) close(reinterpret_cast<PDH_HQUERY>(query));
}

std::optional<ProcessorTimes> Win32PerfCounters::firstProcessorTimes() {
  static const LateBound<NtQuerySystemInformationFn> query(L"ntdll.dll",
                                                           "NtQuerySystemInformation");
  if (!query) return std::nullopt;
  ProcessorPerformance info[kMaxProcessors] = {};
  ULONG written = 0;
  if (query(kSystemProcessorPerformanceInformation, info, sizeof info, &written) < 0 ||
      written < sizeof(ProcessorPerformance))
    return std::nullopt;
  return ProcessorTimes{static_cast<uint64_t>(info[0].idle.QuadPart),
                        static_cast<uint64_t>(info[0].kernel.QuadPart),
                        static_cast<uint64_t>(info[0].user.QuadPart)};
}

std::optional<ProcessorTimes> Win32PerfCounters::systemTimes() {
  // Imported directly: kernel32 has it from Windows XP SP1 on.
  FILETIME idle, kernel, user;
  if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
  return ProcessorTimes{Count(idle), Count(kernel), Count(user)};
}

std::optional<uint32_t> Win32PerfCounters::readDynData(const std::string& keyPath,
                                                       const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_DYN_DATA, Ansi(keyPath).c_str(), &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = REG_DWORD;
  DWORD data = 0;
  DWORD size = sizeof data;
  RegQueryValueExA(key, Ansi(valueName).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                   &size);
  RegCloseKey(key);
  return static_cast<uint32_t>(data);
}

}  // namespace velkaro::win32
