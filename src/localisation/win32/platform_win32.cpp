#include <windows.h>

#include "localisation/platform_query.h"

namespace updater::localisation::detail {

std::uint32_t QueryPlatformId() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // Only the platform family is read, which the compatibility shims of this call leave alone.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExW(&info);
#pragma GCC diagnostic pop
    return ok ? info.dwPlatformId : 0;
}

std::uint32_t QueryThreadLocale() {
    return GetThreadLocale();
}

}  // namespace updater::localisation::detail
