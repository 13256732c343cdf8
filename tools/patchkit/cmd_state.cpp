// patchkit state INDEX FILE: the state code the updater would find for FILE as file index INDEX.
#include <cstdio>

#include "patch/file_state.h"
#include "patchkit/command.h"
#include "patchkit/file_index_argument.h"

namespace {

int Run(patchkit::Arguments args) {
    if (args.size() != 2) return patchkit::UsageError("state");
    const auto index = patchkit::ParseFileIndex(args[0]);
    if (!index) return patchkit::FileIndexError("state");
    const auto state = updater::patch::CheckFileState(*index, args[1]);
    const auto meaning = updater::patch::Describe(state);
    std::printf("%d  %.*s\n", static_cast<int>(state), static_cast<int>(meaning.size()), meaning.data());
    // Every code is an answer; only a malformed command line fails.
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    "state", "INDEX FILE",
    "print the state code of FILE as file index INDEX (0 current, 1 old, 2 unknown version, 3 unreadable)", &Run};

}  // namespace
