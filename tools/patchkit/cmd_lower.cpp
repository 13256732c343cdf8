// patchkit lower: the product's Windows-1250 lower-casing of a byte string, in hex both ways.
#include <optional>
#include <string>
#include <string_view>

#include "localisation/text_helpers.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"

namespace {

constexpr std::string_view kName = "lower";

int Run(patchkit::Arguments args) {
    if (args.size() != 1) return patchkit::UsageError(kName);
    const std::optional<std::string> bytes = patchkit::ParseHex(args[0]);
    if (!bytes) return patchkit::ArgumentError(kName, "HEX must be pairs of hexadecimal digits");
    patchkit::PrintHex(updater::localisation::LowerText(*bytes));
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "HEX", "lower-case a byte string by the Windows-1250 letter set; bytes in hex", &Run};

}  // namespace
