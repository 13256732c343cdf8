# What both mingw-w64 toolchain files share: Debian's posix-threads compilers for
# UPDATER_MINGW_PREFIX, its sysroot, and Wine to run the test programs (ctest and add_test pick the
# emulator up).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${UPDATER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UPDATER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${UPDATER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${UPDATER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
