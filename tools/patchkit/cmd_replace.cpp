// patchkit replace INDEX FILE [--force]: writes the current version of file index INDEX to FILE
// from the payloads this program carries, as the updater would (the old file survives any failure).
// Like the updater, it writes only over a known old version of the file, or where there is none.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "patch/file_catalogue.h"
#include "patch/file_replacement.h"
#include "patch/file_state.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"
#include "patchkit/file_index_argument.h"

namespace {

using namespace updater;

constexpr std::string_view kName = "replace";

// Why a file in this state is left alone, or empty when it may be replaced.
std::string Refusal(patch::FileState state, int index) {
    const std::string as = " of file index " + std::to_string(index);
    switch (state) {
        case patch::FileState::kOld:
            return {};
        case patch::FileState::kCurrent:
            return "already the current version" + as + "; nothing written (--force writes it anyway)";
        case patch::FileState::kUnknownVersion:
            return "not a known version" + as + "; nothing written (--force overwrites it anyway)";
        case patch::FileState::kError:
            return "cannot be read to tell its version; nothing written";
    }
    return "state unknown; nothing written";
}

int Run(patchkit::Arguments args) {
    bool force = false;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--force") {
            force = true;
        } else if (arg.starts_with("--")) {
            return patchkit::ArgumentError(kName, "unknown option '" + arg + "'");
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return patchkit::UsageError(kName);
    const auto index = patchkit::ParseFileIndex(positional[0]);
    if (!index) return patchkit::FileIndexError(kName);
    const std::string& path = positional[1];

    // Only the file that was checked is written over, even if the path leads elsewhere by then.
    std::optional<base::FileIdentity> checked;
    if (base::FileExists(path) && !force) {
        const patch::FileCheck check = patch::CheckFile(patch::CatalogueRow(*index), path);
        const std::string refusal = Refusal(check.state, *index);
        if (!refusal.empty()) return patchkit::Failure(kName, path + ": " + refusal);
        checked = check.identity;
    }
    const auto outcome = patch::ReplaceTargetFile(patch::CatalogueRow(*index), path, patch::ProgramResources(),
                                                  base::SystemFileSteps(), checked);
    if (!outcome.ok()) return patchkit::Failure(kName, path + ": " + patch::Describe(outcome));
    std::printf("%s: written\n", path.c_str());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "INDEX FILE [--force]",
    "write the current version of file index INDEX to FILE from the carried payloads, where FILE is missing or "
    "a known old version (patchkit state 1); --force writes over any other file too",
    &Run};

}  // namespace
