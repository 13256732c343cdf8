// patchkit kod: scrambles or unscrambles a byte string the way the product does, to read or make
// registry entries and configured texts by hand.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "environment/kod.h"
#include "patchkit/command.h"

namespace patchkit {
namespace {

constexpr std::string_view kName = "kod";

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> ParseHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

int Run(Arguments args) {
    if (args.size() != 5) return UsageError(kName);
    const std::string& direction = args[0];
    const std::optional<int> appId = ParseInt(args[1]);
    const std::optional<int> mode = ParseInt(args[2]);
    const std::optional<std::string> text = ParseHex(args[4]);
    if ((direction != "encode" && direction != "decode") || !appId || !mode || (args[3] != "0" && args[3] != "1")) {
        return UsageError(kName);
    }
    if (!text) return Failure(kName, "HEX must be pairs of hexadecimal digits");

    const bool flag = args[3] == "1";
    const auto& kod = updater::environment::SharedKod();
    const std::string result =
        direction == "encode" ? kod.Encode(*text, *appId, *mode, flag) : kod.Decode(*text, *appId, *mode, flag);
    for (char c : result)
        std::printf("%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    std::printf("\n");
    return kExitOk;
}

const CommandRegistration kRegistration{kName, "encode|decode APPID MODE FLAG HEX",
                                        "scramble or unscramble bytes (HEX, may be \"\") as the product does; "
                                        "FLAG 0 or 1; prints hex",
                                        &Run};

}  // namespace
}  // namespace patchkit
