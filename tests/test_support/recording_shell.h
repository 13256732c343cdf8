#pragma once
// A stand-in for the desktop shell in tests: special folders are whatever the test sets, and every
// shortcut asked for is recorded instead of written.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "environment/shell.h"

namespace updater::environment {

class RecordingShell final : public Shell {
  public:
    struct Shortcut {
        std::string target;
        std::string linkFile;
        std::string description;
        bool operator==(const Shortcut&) const = default;
    };

    std::string GetSpecialFolder(std::int32_t folderId) noexcept override;
    bool CreateShortcut(const std::string& target, const std::string& linkFile,
                        const std::string& description) noexcept override;

    // The path GetSpecialFolder returns for folderId, exactly as given.
    void SetSpecialFolder(std::int32_t folderId, std::string path) { folders_[folderId] = std::move(path); }
    // What CreateShortcut answers from now on (the request is recorded either way).
    void SetCreateResult(bool result) { createResult_ = result; }
    // CreateShortcut answers false for this link file whatever SetCreateResult said.
    void FailLink(std::string linkFile) { failingLinks_.insert(std::move(linkFile)); }

    const std::vector<Shortcut>& Created() const { return created_; }

  private:
    std::map<std::int32_t, std::string> folders_;
    std::vector<Shortcut> created_;
    std::set<std::string> failingLinks_;
    bool createResult_ = true;
};

}  // namespace updater::environment
