# Cross-compiling for 32-bit Windows (x86) with Debian's mingw-w64 (posix threads flavour). The
# release's updater.exe is this build: it starts on 32-bit Windows, on 64-bit Windows (WOW64) and
# on ARM64 (emulation).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(UPDATER_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${UPDATER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UPDATER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${UPDATER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${UPDATER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine; ctest and add_test pick this up. A prefix made while wine32 is
# installed runs 32-bit programs as well.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
