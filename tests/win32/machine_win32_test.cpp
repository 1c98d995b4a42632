// The machine facts through the real Windows calls.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/machine_win32.h"

using namespace velkaro;

TEST(Win32Machine, PowerStatusIsThePlatformRecordWithItsTimesAsStored) {
  SYSTEM_POWER_STATUS direct{};
  ASSERT_TRUE(GetSystemPowerStatus(&direct));
  const PowerStatus power = win32::Win32Machine().powerStatus();
  EXPECT_EQ(power.acLineStatus, direct.ACLineStatus);
  EXPECT_EQ(power.batteryFlag, direct.BatteryFlag);
  EXPECT_EQ(power.batteryLifePercent, direct.BatteryLifePercent);
  EXPECT_EQ(power.batteryLifeTime, direct.BatteryLifeTime);
  EXPECT_EQ(power.batteryFullLifeTime, direct.BatteryFullLifeTime);
  EXPECT_TRUE(power.batteryLifePercent <= 100 || power.batteryLifePercent == 255);
}

TEST(Win32Machine, ProcessorsMemoryAndNumberSettings) {
  win32::Win32Machine machine;
  const ProcessorFacts cpu = machine.processorFacts();
  EXPECT_GE(cpu.numberOfProcessors, 1u);
  ASSERT_TRUE(cpu.activeProcessors);  // Windows 7 and later, and Wine, have the call
  EXPECT_GE(*cpu.activeProcessors, cpu.numberOfProcessors);
#ifdef _WIN64
  EXPECT_EQ(cpu.processorType, 8664u);
#endif

  const MemoryStatus memory = machine.memoryStatus();
  EXPECT_GT(memory.totalPhys, 0u);
  EXPECT_LE(memory.availPhys, memory.totalPhys);
  EXPECT_LE(memory.availVirtual, memory.totalVirtual);
  EXPECT_LE(memory.memoryLoad, 100u);

  const numfmt::NumberSettings numbers = machine.numberSettings();
  wchar_t decimal[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8), 0);
  EXPECT_EQ(numbers.decimal, std::string(decimal, decimal + wcslen(decimal)));
  EXPECT_FALSE(numbers.grouping.empty());
  EXPECT_NE(numbers.decimal, numbers.group);
}
