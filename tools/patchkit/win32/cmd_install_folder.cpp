// patchkit install-folder: what the updater's install-folder lookup finds for a product.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "environment/install_location.h"
#include "environment/registry.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "install-folder";

int Run(Arguments args) {
    if (args.size() != 1) return UsageError(kName);
    // -1 is the old product line, whose folder is recorded elsewhere.
    const std::optional<int> appId = ParseInteger(args[0], updater::environment::kLegacyAppId, kLastAppId);
    if (!appId || (*appId != updater::environment::kLegacyAppId && *appId < kFirstAppId))
        return ArgumentError(kName, "APPID must be -1 or a number from 1 to 13");
    const std::string folder = updater::environment::FindInstallFolder(updater::environment::SystemRegistry(), *appId);
    if (folder.empty()) return Failure(kName, "no install folder recorded");
    std::fwrite(folder.data(), 1, folder.size(), stdout);
    std::printf("\n");
    return kExitOk;
}

const CommandRegistration kRegistration{kName, "APPID",
                                        "print the install folder the updater finds for APPID (-1 or 1 to 13)", &Run};

}  // namespace
}  // namespace patchkit
