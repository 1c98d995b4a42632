# Cross build for 64-bit Windows with MinGW-w64 (floor: Windows XP x64 / Server 2003); the
# settings both Windows builds share are in mingw-common.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit loader by name: once 32-bit Wine is installed, plain `wine` starts the 32-bit one.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
