// The harmless parts of the power and memory seams with the real calls: the privilege step and
// the arena's chunks. No power action and no memory release is run here.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "win32/power_win32.h"

using namespace velkaro;

TEST(Win32Power, EnablesTheShutdownPrivilege) {
  EXPECT_TRUE(win32::Win32Power().enableShutdownPrivilege());
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
