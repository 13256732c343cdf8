#include "test_support/recording_shell.h"

#include <new>

namespace updater::environment {

std::string RecordingShell::GetSpecialFolder(std::int32_t folderId) noexcept {
    const auto found = folders_.find(folderId);
    return found == folders_.end() ? std::string() : found->second;
}

bool RecordingShell::CreateShortcut(const std::string& target, const std::string& linkFile,
                                    const std::string& description) noexcept {
    try {
        created_.push_back({target, linkFile, description});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return createResult_ && !failingLinks_.contains(linkFile);
}

}  // namespace updater::environment
