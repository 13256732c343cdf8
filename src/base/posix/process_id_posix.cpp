#include <unistd.h>

#include "base/process_id.h"

namespace updater::base {

std::uint32_t CurrentProcessId() {
    return static_cast<std::uint32_t>(::getpid());
}

}  // namespace updater::base
