# What both Windows toolchains share: Debian's MinGW-w64 with posix threads
# for ZEPO_MINGW_PREFIX, the programs linked statically so that an .exe
# needs no DLL beside it. On a Linux host the programs run under Wine
# (scripts/test-windows).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ZEPO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEPO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEPO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZEPO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
