# What both cross builds for Windows with MinGW-w64 share; cmake/mingw-x86_64.cmake and
# cmake/mingw-i686.cmake set CMAKE_SYSTEM_PROCESSOR and MINGW_TRIPLE, then include this file.
# MINGW_THREADS picks the compilers' thread model: win32 (the default) for the program and the
# tools built beside it (probe, bench), whose runtime then imports nothing newer than the oldest
# Windows the program is built for; posix for the GoogleTest executables, which need std::mutex
# (built in trees of their own).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_THREADS)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything static: the programs need no DLL besides Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
