#pragma once
// Checking patchkit's command-line arguments. A bad argument is a usage error: the command says
// which argument is wrong and how the command is called, exits with kExitUsage and touches nothing,
// so checks come before any file or registry key is opened.

#include <optional>
#include <string>
#include <string_view>

namespace patchkit {

// Products are numbered 1 to 13 (AppId) in the registry, the codec and the shortcut tables.
inline constexpr int kFirstAppId = 1;
inline constexpr int kLastAppId = 13;

// A whole decimal number from min to max ("7", "-1"), or nullopt for anything else: "7x", " 7",
// "+7", "0x7", "", or a number out of range (also one too large for an int).
std::optional<int> ParseInteger(std::string_view text, int min, int max);

// The bytes spelled by pairs of hexadecimal digits ("" spells none), or nullopt.
std::optional<std::string> ParseHex(std::string_view hex);
// Prints bytes as pairs of lower-case hexadecimal digits, then a line end.
void PrintHex(std::string_view bytes);

// Prints "patchkit NAME: MESSAGE" and the command's usage line to stderr; returns kExitUsage.
int ArgumentError(std::string_view name, std::string_view message);

// ArgumentError saying "WHAT must be a number from MIN to MAX".
int RangeError(std::string_view name, std::string_view what, int min, int max);

}  // namespace patchkit
