# Cross build for 32-bit Windows with MinGW-w64 (floor: Windows XP SP3); the settings both
# Windows builds share are in mingw-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 32-bit loader (with 32-bit Wine installed, `wine` is that one); run in a 32-bit prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
