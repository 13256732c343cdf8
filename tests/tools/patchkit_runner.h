#pragma once
// Runs the patchkit program of this build as a user would, for tests of its command line.

#include <string>
#include <vector>

namespace updater::test {

struct ToolRun {
    int exitCode = -1;
    std::string out;  // what it wrote to stdout
    std::string err;  // and to stderr
};

// Runs patchkit with args (8-bit strings, as the engine's paths) in the working folder folder and
// waits for it to end.
ToolRun RunPatchkit(const std::vector<std::string>& args, const std::string& folder);

}  // namespace updater::test
