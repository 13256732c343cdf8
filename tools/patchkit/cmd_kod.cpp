// patchkit kod: scrambles or unscrambles a byte string the way the product does, to read or make
// registry entries and configured texts by hand.
#include <optional>
#include <string>
#include <string_view>

#include "environment/kod.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "kod";
// The codec knows purposes 1 to 6 (and products 1 to 13); outside them it would hand the text back
// unchanged, which reads like an answer.
constexpr int kLastMode = 6;

int Run(Arguments args) {
    if (args.size() != 5) return UsageError(kName);
    const std::string& direction = args[0];
    if (direction != "encode" && direction != "decode") return ArgumentError(kName, "say encode or decode");
    const std::optional<int> appId = ParseInteger(args[1], kFirstAppId, kLastAppId);
    if (!appId) return RangeError(kName, "APPID", kFirstAppId, kLastAppId);
    const std::optional<int> mode = ParseInteger(args[2], 1, kLastMode);
    if (!mode) return RangeError(kName, "MODE", 1, kLastMode);
    const std::optional<int> flag = ParseInteger(args[3], 0, 1);
    if (!flag) return RangeError(kName, "FLAG", 0, 1);
    const std::optional<std::string> text = ParseHex(args[4]);
    if (!text) return ArgumentError(kName, "HEX must be pairs of hexadecimal digits");

    const auto& kod = updater::environment::SharedKod();
    PrintHex(direction == "encode" ? kod.Encode(*text, *appId, *mode, *flag == 1)
                                   : kod.Decode(*text, *appId, *mode, *flag == 1));
    return kExitOk;
}

const CommandRegistration kRegistration{kName, "encode|decode APPID MODE FLAG HEX",
                                        "scramble or unscramble bytes (HEX, may be \"\") as the product does; "
                                        "APPID 1 to 13, MODE 1 to 6, FLAG 0 or 1; prints hex",
                                        &Run};

}  // namespace
}  // namespace patchkit
