// patchkit lower: the product's Windows-1250 lower-casing of a byte string, in hex both ways.
#include <cstdio>
#include <string>
#include <string_view>

#include "localisation/text_helpers.h"
#include "patchkit/command.h"

namespace {

constexpr std::string_view kName = "lower";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Run(patchkit::Arguments args) {
    if (args.size() != 1) return patchkit::UsageError(kName);
    const std::string& hex = args[0];
    if (hex.size() % 2 != 0) {
        patchkit::Failure(kName, "HEX needs two digits per byte");
        return patchkit::UsageError(kName);
    }
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            patchkit::Failure(kName, "HEX may hold only the digits 0-9 and a-f");
            return patchkit::UsageError(kName);
        }
        bytes += static_cast<char>(high * 16 + low);
    }
    std::string out;
    for (char c : updater::localisation::LowerText(bytes)) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", static_cast<unsigned char>(c));
        out += digits;
    }
    std::printf("%s\n", out.c_str());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "HEX", "lower-case a byte string by the Windows-1250 letter set; bytes in hex", &Run};

}  // namespace
