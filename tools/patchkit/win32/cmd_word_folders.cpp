// patchkit word-folders: the word processor's start-up folders as the updater lists them when it
// looks for the product's Word templates.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "environment/registry.h"
#include "environment/shell.h"
#include "environment/word_startup.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "word-folders";

int Run(Arguments args) {
    if (!args.empty()) return UsageError(kName);
    std::vector<std::string> lines;
    updater::environment::GetWordStartupFolders(lines, updater::environment::SystemShell(),
                                                updater::environment::SystemRegistry());
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::printf("\n");
    }
    return kExitOk;
}

const CommandRegistration kRegistration{kName, "",
                                        "print the word processor's start-up folders, one name=folder line each", &Run};

}  // namespace
}  // namespace patchkit
