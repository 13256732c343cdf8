#pragma once
// The desktop shell as the update needs it: where special folders are, where the Start menu's
// Programs folder is, and making shortcut (.lnk) files. Shell is the seam: the Windows shell behind
// it on Windows (SystemShell()), RecordingShell in native tests. Nothing here throws; failures come
// back as an empty path or false.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "environment/registry.h"

namespace updater::environment {

// The shell's number (CSIDL) of the user's application data folder.
inline constexpr std::int32_t kCsidlAppData = 26;

// Where Explorer records the paths of the special folders, in both hives.
inline constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class Shell {
  public:
    virtual ~Shell() = default;

    // The path of the special folder with that CSIDL number, ending in a separator; empty when the
    // shell does not know it or it does not exist (it is never created).
    virtual std::string GetSpecialFolder(std::int32_t folderId) noexcept = 0;

    // Writes the shortcut file linkFile (replacing one of that name) pointing at target, starting
    // in the target's folder, with the description as its comment. True when the file was written.
    // On Windows the calling thread must have initialised COM.
    virtual bool CreateShortcut(const std::string& target, const std::string& linkFile,
                                const std::string& description) noexcept = 0;
};

// The Windows shell. Elsewhere a shell without special folders that cannot make shortcuts.
Shell& SystemShell() noexcept;

// The Start menu's Programs folder as Explorer recorded it (normally without a trailing separator):
// with allUsers the machine's "Common Programs" first, then (or without allUsers) the user's
// "Programs". Empty when neither is recorded.
std::string GetProgramsFolder(Registry& registry, bool allUsers) noexcept;

// A stand-in shell for tests: special folders are whatever the test sets, and every shortcut
// asked for is recorded instead of written.
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
