#include "environment/shell.h"

#include <new>

namespace updater::environment {

std::string GetProgramsFolder(Registry& registry, bool allUsers) noexcept {
    try {
        std::string folder;
        if (allUsers && ReadRegString(registry, RegRoot::kLocalMachine, kShellFoldersKey, "Common Programs", folder) &&
            !folder.empty()) {
            return folder;
        }
        folder.clear();
        ReadRegString(registry, RegRoot::kCurrentUser, kShellFoldersKey, "Programs", folder);
        return folder;
    } catch (const std::bad_alloc&) {
        return {};  // out of memory: as if no folder were recorded
    }
}

}  // namespace updater::environment
