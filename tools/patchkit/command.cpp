#include "patchkit/command.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "patchkit/patchkit.h"

namespace patchkit {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

const Command* Find(std::string_view name) {
    const auto found = std::ranges::find(Registry(), name, &Command::name);
    return found == Registry().end() ? nullptr : &*found;
}

}  // namespace

CommandRegistration::CommandRegistration(std::string_view name, std::string_view usage, std::string_view summary,
                                         CommandFunction run) {
    Registry().push_back({name, usage, summary, run});
}

std::span<const Command> Commands() {
    return Registry();
}

int UsageError(std::string_view name) {
    if (const Command* c = Find(name)) {
        std::fprintf(stderr, "usage: patchkit %.*s %.*s\n", static_cast<int>(c->name.size()), c->name.data(),
                     static_cast<int>(c->usage.size()), c->usage.data());
    } else {
        std::fprintf(stderr, "usage: patchkit COMMAND ARGUMENTS...\n");
    }
    return kExitUsage;
}

int Failure(std::string_view name, std::string_view message) {
    std::fprintf(stderr, "patchkit %.*s: %.*s\n", static_cast<int>(name.size()), name.data(),
                 static_cast<int>(message.size()), message.data());
    return kExitFailed;
}

int RunPatchkit(std::span<const std::string> argv) {
    // Asked for, the list is the answer; without a command it explains the usage error.
    if (argv.empty() || argv[0] == "help" || argv[0] == "--help" || argv[0] == "-h") {
        std::FILE* out = argv.empty() ? stderr : stdout;
        std::fprintf(out, "patchkit: tools for making and supporting patches\n\ncommands:\n");
        for (const Command& c : Registry()) {
            std::fprintf(out, "  %.*s %.*s\n      %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                         static_cast<int>(c.usage.size()), c.usage.data(), static_cast<int>(c.summary.size()),
                         c.summary.data());
        }
        if (argv.empty()) std::fprintf(out, "usage: patchkit COMMAND ARGUMENTS...\n");
        return argv.empty() ? kExitUsage : kExitOk;
    }
    if (const Command* c = Find(argv[0])) return c->run(argv.subspan(1));
    std::fprintf(stderr, "patchkit: unknown command '%s'\nusage: patchkit COMMAND ARGUMENTS... (try 'patchkit help')\n",
                 argv[0].c_str());
    return kExitUsage;
}

}  // namespace patchkit
