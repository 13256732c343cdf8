// patchkit crc32 FILE...: the CRC-32 of whole files, read the way the state check reads them.
#include <cstdio>

#include "patch/crc32.h"
#include "patchkit/command.h"

namespace {

int Run(patchkit::Arguments args) {
    if (args.empty()) return patchkit::UsageError("crc32");
    int exitCode = patchkit::kExitOk;
    for (const std::string& path : args) {
        auto crc = updater::patch::FileCrc32(path);
        if (!crc) {
            // The other files are still worth their line.
            patchkit::Failure("crc32", path + ": " + std::string(updater::base::Describe(crc.error())));
            exitCode = patchkit::kExitFailed;
            continue;
        }
        std::printf("%08x  %s\n", static_cast<unsigned>(crc.value()), path.c_str());
    }
    return exitCode;
}

const patchkit::CommandRegistration kRegistration{
    "crc32", "FILE...", "print the CRC-32 of each file (8 hex digits, two spaces, the path)", &Run};

}  // namespace
