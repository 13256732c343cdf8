#include <windows.h>

#include "base/process_id.h"

namespace updater::base {

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

}  // namespace updater::base
