# Cross-compiling for 32-bit Windows (x86) with Debian's mingw-w64 (posix threads flavour). The
# release's updater.exe is this build: it starts on 32-bit Windows, on 64-bit Windows (WOW64) and
# on ARM64 (emulation). A Wine prefix made while wine32 is installed runs its test programs.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(UPDATER_MINGW_PREFIX i686-w64-mingw32)
# The instruction-set floor of the release: SSE2, with floating point in SSE registers rather than
# the x87 stack (see the README's "Shipping a release"). The top CMakeLists adds these to every
# target; they are kept out of CMAKE_CXX_FLAGS, which a configure command line may replace.
set(UPDATER_TARGET_OPTIONS -msse2 -mfpmath=sse)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
