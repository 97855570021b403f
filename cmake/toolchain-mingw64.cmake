# Cross-compiles the Windows programs with MinGW-w64 (posix threads), 64-bit.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVELLA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${ORVELLA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVELLA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORVELLA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVELLA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Every Windows test runs under Wine in the build's private prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
