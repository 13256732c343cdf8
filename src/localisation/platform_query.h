#pragma once
// The operating system's answers that start-up needs; one implementation per platform
// (win32/platform_win32.cpp, posix/platform_posix.cpp).

#include <cstdint>

namespace updater::localisation::detail {

// dwPlatformId of the OS version query.
std::uint32_t QueryPlatformId();
// The calling thread's locale identifier (LCID).
std::uint32_t QueryThreadLocale();

}  // namespace updater::localisation::detail
