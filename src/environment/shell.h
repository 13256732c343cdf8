#pragma once
// The desktop shell as the update needs it: where special folders are, where the Start menu's
// Programs folder is, and making shortcut (.lnk) files. Shell is the seam: the Windows shell behind
// it on Windows (SystemShell()), a recording stand-in in tests (tests/test_support). Nothing here throws; failures come
// back as an empty path or false.

#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace updater::environment
