// patchkit shortcuts: runs a patch kind's shortcut step for an install folder, as the updater does
// at the end of a run, so support can re-create a patch's shortcuts.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/this_build.h"
#include "base/file_system.h"
#include "environment/registry.h"
#include "environment/shell.h"
#include "environment/shortcuts.h"
#include "environment/win32/com.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "shortcuts";

void PrintLine(std::string_view what, const std::string& path) {
    std::fwrite(what.data(), 1, what.size(), stdout);
    std::fwrite(path.data(), 1, path.size(), stdout);
    std::printf("\n");
}

int Run(Arguments args) {
    if (args.size() != 2 && args.size() != 3) return UsageError(kName);
    // Other kinds have no shortcut step: asking for one is a mistake, not a request to do nothing.
    using updater::environment::kPatchKindHelpLinks, updater::environment::kPatchKindWebTranslator;
    const std::optional<int> kind = ParseInteger(args[0], kPatchKindHelpLinks, kPatchKindWebTranslator);
    if (!kind || (*kind != kPatchKindHelpLinks && *kind != kPatchKindWebTranslator))
        return ArgumentError(kName, "KIND must be 6 or 9");
    const std::optional<int> appId =
        args.size() == 3 ? ParseInteger(args[2], kFirstAppId, kLastAppId) : updater::app::kBuildAppId;
    if (!appId) return RangeError(kName, "APPID", kFirstAppId, kLastAppId);
    const std::string& folder = args[1];
    if (!updater::base::DirectoryExists(folder)) return Failure(kName, "FOLDER is not a folder");

    const updater::environment::win32::ComApartment com;
    if (!com.Ok()) return Failure(kName, "COM could not be initialised");
    const updater::environment::ShortcutStepLog log = updater::environment::UpdateShortcuts(
        *kind, *appId, folder, updater::environment::SystemShell(), updater::environment::SystemRegistry());
    for (const std::string& path : log.removed)
        PrintLine("removed ", path);
    for (const std::string& path : log.created)
        PrintLine("created ", path);
    for (const std::string& path : log.failed)
        PrintLine("failed ", path);
    if (!log.failed.empty()) return Failure(kName, "some shortcuts could not be written");
    return kExitOk;
}

const CommandRegistration kRegistration{
    kName, "KIND FOLDER [APPID]",
    "run the shortcut step of patch KIND (6 or 9, the kinds that have one) for the product APPID (1 to 13; "
    "default: this build's) installed in FOLDER; prints what was removed, created or failed",
    &Run};

}  // namespace
}  // namespace patchkit
