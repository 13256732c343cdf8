#include "patchkit/arguments.h"

#include <charconv>
#include <cstdio>

#include "patchkit/command.h"

namespace patchkit {

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
        // Unsigned, so from_chars takes no sign; it takes no "0x" either.
        unsigned value = 0;
        const char* end = hex.data() + i + 2;
        const auto [last, error] = std::from_chars(hex.data() + i, end, value, 16);
        if (error != std::errc() || last != end) return std::nullopt;
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

void PrintHex(std::string_view bytes) {
    for (char c : bytes)
        std::printf("%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
    std::printf("\n");
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
