#pragma once
// patchkit's commands. Each command lives in its own cmd_<name>.cpp and registers itself with a
// static CommandRegistration, so adding a command touches no other file.

#include <span>
#include <string>
#include <string_view>

namespace patchkit {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Arguments after the command's name, as 8-bit strings: the system code page on Windows (so
// they are paths the product's own string handling understands), UTF-8 elsewhere.
using Arguments = std::span<const std::string>;
using CommandFunction = int (*)(Arguments args);

struct Command {
    std::string_view name;
    std::string_view usage;  // the arguments, e.g. "PAYLOAD OUTPUT"
    std::string_view summary;
    CommandFunction run;
};

struct CommandRegistration {
    CommandRegistration(std::string_view name, std::string_view usage, std::string_view summary, CommandFunction run);
};

// Prints "usage: patchkit NAME USAGE" to stderr and returns kExitUsage.
int UsageError(std::string_view name);
// Prints "patchkit NAME: MESSAGE" to stderr and returns kExitFailed.
int Failure(std::string_view name, std::string_view message);

}  // namespace patchkit
