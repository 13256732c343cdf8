#include "patchkit/arguments.h"

#include <charconv>

#include "patchkit/command.h"

namespace patchkit {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [last, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || last != end || value < min || value > max) return std::nullopt;
    return value;
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

int ArgumentError(std::string_view name, std::string_view message) {
    Failure(name, message);
    return UsageError(name);
}

int RangeError(std::string_view name, std::string_view what, int min, int max) {
    return ArgumentError(
        name, std::string(what) + " must be a number from " + std::to_string(min) + " to " + std::to_string(max));
}

}  // namespace patchkit
