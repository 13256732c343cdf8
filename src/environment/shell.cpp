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

std::string FolderOf(std::string_view path) {
    const std::size_t last = path.find_last_of("\\/:");
    if (last == std::string_view::npos) return {};
    return std::string(path.substr(0, last + 1));
}

}  // namespace updater::environment
