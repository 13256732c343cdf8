// patchkit register-install: records an installation in the registry as the product's installer
// does, so tests, demos and support can set one up without the product.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "environment/install_location.h"
#include "environment/registry.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"
#include "registry_writer/install_record.h"
#include "registry_writer/writable_registry.h"

namespace patchkit {
namespace {

namespace env = updater::environment;
namespace tools = updater::tools;

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
            return ArgumentError(kName, "unknown option '" + args[i] + "'");
        }
    }
    const std::optional<int> parsed = ParseInteger(args[0], kFirstAppId, kLastAppId);
    if (!parsed) return RangeError(kName, "APPID", kFirstAppId, kLastAppId);
    const int appId = *parsed;
    if (args[1].empty()) return ArgumentError(kName, "FOLDER must not be empty");

    const env::RegRoot root = machine ? env::RegRoot::kLocalMachine : env::RegRoot::kCurrentUser;
    if (!tools::RecordInstallFolder(tools::SystemWritableRegistry(), appId, args[1], root, forceNewReg)) {
        return Failure(kName, machine ? "cannot write under HKEY_LOCAL_MACHINE (administrator rights?)"
                                      : "cannot write under HKEY_CURRENT_USER");
    }
    // Entries left in the other hive take part in the lookup too; say so rather than leave a
    // recording that the updater would not find. The lookup reads as the updater does.
    const std::string found = env::FindInstallFolder(env::SystemRegistry(), appId);
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
