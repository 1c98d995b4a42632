// The harmless parts of the power and memory seams with the real calls: the privilege step, the
// stand-by call bound, the power status and processor facts, the arena's chunks. No power action
// and no memory release is run here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "win32/machine_win32.h"
#include "win32/power_win32.h"

using namespace velkaro;

TEST(Win32Power, EnablesTheShutdownPrivilegeAndHasTheStandbyCall) {
  // The stand-by call is bound at run time: a wrong name would leave the button doing nothing.
  EXPECT_TRUE(win32::Win32Power::CanSuspend());
  EXPECT_TRUE(win32::Win32Power().enableShutdownPrivilege());
  HANDLE token;  // the process's token holds it enabled now
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  PRIVILEGE_SET shutdown{1, PRIVILEGE_SET_ALL_NECESSARY, {{{0, 0}, 0}}};
  ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown.Privilege[0].Luid));
  BOOL enabled = FALSE;
  EXPECT_TRUE(PrivilegeCheck(token, &shutdown, &enabled) && enabled);
  CloseHandle(token);
}

TEST(Win32Machine, PowerStatusAsStoredAndTheProcessorFacts) {
  SYSTEM_POWER_STATUS d{};
  ASSERT_TRUE(GetSystemPowerStatus(&d));
  const PowerStatus p = win32::Win32Machine().powerStatus();
  EXPECT_EQ((std::vector<uint32_t>{p.acLineStatus, p.batteryFlag, p.batteryLifePercent,
                                   p.batteryLifeTime, p.batteryFullLifeTime}),
            (std::vector<uint32_t>{d.ACLineStatus, d.BatteryFlag, d.BatteryLifePercent,
                                   d.BatteryLifeTime, d.BatteryFullLifeTime}));
  const ProcessorFacts cpu = win32::Win32Machine().processorFacts();
  ASSERT_TRUE(cpu.activeProcessors);  // Windows 7 and later, and Wine, have the call
  EXPECT_GE(*cpu.activeProcessors, cpu.numberOfProcessors);
  EXPECT_EQ(cpu.processorType, sizeof(void*) == 8 ? 8664u : 586u);  // Wine's for a 32-bit one
}

TEST(Win32Machine, TheSevenMemoryFiguresAreTheSystemsEachInItsPlace) {
  MEMORYSTATUSEX d{};
  d.dwLength = sizeof d;
  ASSERT_TRUE(GlobalMemoryStatusEx(&d));
  const MemoryStatus m = win32::Win32Machine().memoryStatus();
  EXPECT_EQ(m.totalPhys, d.ullTotalPhys);
  EXPECT_EQ(m.totalPageFile, d.ullTotalPageFile);
  EXPECT_EQ(m.totalVirtual, d.ullTotalVirtual);
  // What is free moves between two readings: within 5 % and 64 MB.
  const auto within = [](uint64_t a, uint64_t b) {
    return (a > b ? a - b : b - a) <= b / 20 + (uint64_t{64} << 20);
  };
  EXPECT_TRUE(within(m.availPhys, d.ullAvailPhys)) << m.availPhys << " " << d.ullAvailPhys;
  EXPECT_TRUE(within(m.availPageFile, d.ullAvailPageFile));
  EXPECT_TRUE(within(m.availVirtual, d.ullAvailVirtual));
  EXPECT_NEAR(m.memoryLoad, d.dwMemoryLoad, 3);
  // Each figure against its neighbours: the free never above the total, the page file's limit
  // holding the physical memory, the load what the free physical memory leaves.
  EXPECT_LE(m.availPhys, m.totalPhys);
  EXPECT_LE(m.availPageFile, m.totalPageFile);
  EXPECT_LE(m.availVirtual, m.totalVirtual);
  EXPECT_GE(m.totalPageFile, m.availPhys);
  EXPECT_NEAR(m.memoryLoad, 100.0 - 100.0 * m.availPhys / m.totalPhys, 3);
}

TEST(Win32Arena, HandsOutWritableChunksAndRefusesImpossibleOnes) {
  win32::Win32Arena arena;
  char16_t* chunk = arena.allocate(3 * 4096 + 1);
  ASSERT_NE(chunk, nullptr);
  chunk[0] = u' ';
  chunk[3 * 4096] = u' ';
  arena.release(chunk);
  // More than the address space: a refusal, no exception and no message.
  EXPECT_EQ(arena.allocate(std::numeric_limits<std::size_t>::max() / 4), nullptr);
  EXPECT_EQ(arena.allocate(std::numeric_limits<std::size_t>::max()), nullptr);
  EXPECT_EQ(arena.allocate(0), nullptr);
}
