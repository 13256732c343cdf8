// Systems without a registry: an empty one, so every lookup finds nothing recorded.
#include "environment/memory_registry.h"

namespace updater::environment {

Registry& SystemRegistry() noexcept {
    static MemoryRegistry registry;
    return registry;
}

}  // namespace updater::environment
