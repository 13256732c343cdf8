// Without a Windows version query or locale identifiers: the process counts as NT-class (its text
// is Unicode throughout), and the locale comes from the usual environment variables.
#include <cstdlib>

#include "localisation/language.h"
#include "localisation/platform_query.h"

namespace updater::localisation::detail {

std::uint32_t QueryPlatformId() {
    return kPlatformWin32NT;
}

std::uint32_t QueryThreadLocale() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return LocaleIdFromPosixName(value);
    }
    return 0;
}

}  // namespace updater::localisation::detail
