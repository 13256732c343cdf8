#pragma once

#include <span>
#include <string>

#include "patchkit/command.h"

namespace patchkit {

std::span<const Command> Commands();
// Runs the command named by argv[0] with the rest as its arguments; returns the exit code.
int RunPatchkit(std::span<const std::string> argv);

}  // namespace patchkit
