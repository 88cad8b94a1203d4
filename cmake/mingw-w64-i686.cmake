# The 32-bit Windows program (preset windows-x86), which runs on 32-bit
# Windows too.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZEPO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
