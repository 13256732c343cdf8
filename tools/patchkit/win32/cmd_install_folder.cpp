// patchkit install-folder: what the updater's install-folder lookup finds for a product.
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "environment/install_location.h"
#include "environment/registry.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "install-folder";

int Run(Arguments args) {
    if (args.size() != 1) return UsageError(kName);
    int appId = 0;
    const std::string& id = args[0];
    const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), appId);
    if (error != std::errc() || end != id.data() + id.size()) return UsageError(kName);
    const std::string folder = updater::environment::FindInstallFolder(updater::environment::SystemRegistry(), appId);
    if (folder.empty()) return Failure(kName, "no install folder recorded");
    std::fwrite(folder.data(), 1, folder.size(), stdout);
    std::printf("\n");
    return kExitOk;
}

const CommandRegistration kRegistration{kName, "APPID",
                                        "print the install folder the updater finds for APPID (-1 or 1 to 13)", &Run};

}  // namespace
}  // namespace patchkit
