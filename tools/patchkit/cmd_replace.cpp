// patchkit replace INDEX FILE: writes the current version of file index INDEX to FILE from the
// payloads this program carries, as the updater would (the old file survives any failure).
#include <cstdio>

#include "patch/file_catalogue.h"
#include "patch/file_replacement.h"
#include "patchkit/command.h"
#include "patchkit/file_index_argument.h"

namespace {

int Run(patchkit::Arguments args) {
    if (args.size() != 2) return patchkit::UsageError("replace");
    const auto index = patchkit::ParseFileIndex(args[0]);
    if (!index) return patchkit::UsageError("replace");
    const auto outcome = updater::patch::ReplaceTargetFile(updater::patch::CatalogueRow(*index), args[1],
                                                           updater::patch::ProgramResources());
    if (!outcome.ok()) return patchkit::Failure("replace", args[1] + ": " + updater::patch::Describe(outcome));
    std::printf("%s: written\n", args[1].c_str());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    "replace", "INDEX FILE", "write the current version of file index INDEX to FILE from the carried payloads", &Run};

}  // namespace
