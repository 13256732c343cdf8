// patchkit pack INPUT OUTPUT: encodes one piece of a target file as a payload, the content of one
// RCDATA resource of the updater.
#include <cstdio>
#include <string>

#include "base/file_system.h"
#include "patch/crc32.h"
#include "patchkit/command.h"
#include "patchkit/output_file.h"
#include "payload_encoder/payload_encoder.h"

namespace {

using namespace updater;

constexpr std::string_view kName = "pack";

int Run(patchkit::Arguments args) {
    if (args.size() != 2) return patchkit::UsageError(kName);
    const std::string& inputPath = args[0];
    const std::string& outputPath = args[1];

    const patchkit::InputFile input =
        patchkit::ReadInputFile(inputPath, static_cast<std::int64_t>(tools::kMaxEncodablePiece));
    if (const std::string problem =
            input.Problem(std::to_string(input.size) + " bytes; one payload holds at most 2097152 bytes, so split the "
                                                       "file into a part A and a part B and pack each");
        !problem.empty())
        return patchkit::Failure(kName, inputPath + ": " + problem);
    if (input.bytes.empty())
        return patchkit::Failure(kName, inputPath + ": empty; a payload cannot describe an empty piece");

    const std::vector<std::uint8_t> payload = tools::EncodePayload(input.bytes);
    if (auto e = patchkit::WriteOutputFile(outputPath, payload); e != base::FileError::kNone)
        return patchkit::Failure(kName, outputPath + ": " + std::string(base::Describe(e)));
    std::printf("%s: %zu bytes (CRC-32 %08x) -> %s: %zu bytes\n", inputPath.c_str(), input.bytes.size(),
                static_cast<unsigned>(patch::Crc32(input.bytes)), outputPath.c_str(), payload.size());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    "pack", "INPUT OUTPUT", "encodes one piece (1 to 2097152 bytes) of a target file as a payload", &Run};

}  // namespace
