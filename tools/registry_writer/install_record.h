#pragma once
// Recording an installation as the product's installer does, for patchkit register-install and
// the tests; the updater's side, finding it, is environment/install_location.h.

#include <string_view>

#include "registry_writer/writable_registry.h"

namespace updater::tools {

// What the product's installer writes: the scrambled "Katalog" (for the codec variant forceNewReg
// selects) and, when forceNewReg, the scrambled "ForceNewReg" probe (otherwise it removes a probe
// left in that hive). Machine-wide entries go to the 32-bit view, where the product's 32-bit
// installer puts them. False when anything failed.
bool RecordInstallFolder(WritableRegistry& registry, int appId, std::string_view folder, RegRoot root,
                         bool forceNewReg) noexcept;

}  // namespace updater::tools
