// patchkit register-install: records an installation in the registry as the product's installer
// does, so tests, demos and support can set one up without the product.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "environment/install_location.h"
#include "environment/registry.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

namespace env = updater::environment;

constexpr std::string_view kName = "register-install";

int Run(Arguments args) {
    if (args.size() < 2) return UsageError(kName);
    bool machine = false;
    bool forceNewReg = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--machine") {
            machine = true;
        } else if (args[i] == "--force-new-reg") {
            forceNewReg = true;
        } else {
            return UsageError(kName);
        }
    }
    int appId = 0;
    const std::string& id = args[0];
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), appId);
    if (error != std::errc() || end != id.data() + id.size()) return UsageError(kName);
    if (env::ProductKeyPath(appId).empty()) return Failure(kName, "APPID must be 1 to 13");
    if (args[1].empty()) return Failure(kName, "FOLDER must not be empty");

    env::Registry& registry = env::SystemRegistry();
    const env::RegRoot root = machine ? env::RegRoot::kLocalMachine : env::RegRoot::kCurrentUser;
    if (!env::RecordInstallFolder(registry, appId, args[1], root, forceNewReg)) {
        return Failure(kName, machine ? "cannot write under HKEY_LOCAL_MACHINE (administrator rights?)"
                                      : "cannot write under HKEY_CURRENT_USER");
    }
    // Entries left in the other hive take part in the lookup too; say so rather than leave a
    // recording that the updater would not find.
    const std::string found = env::FindInstallFolder(registry, appId);
    if (found != args[1]) {
        return Failure(kName, "recorded, but the lookup finds \"" + found +
                                  "\": entries in the other hive interfere (a \"ForceNewReg\" probe, or a user "
                                  "entry that wins over the machine's)");
    }
    return kExitOk;
}

const CommandRegistration kRegistration{
    kName, "APPID FOLDER [--machine] [--force-new-reg]",
    "record FOLDER as the product's install folder (user hive, or the machine hive's 32-bit view)", &Run};

}  // namespace
}  // namespace patchkit
