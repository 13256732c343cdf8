// patchkit decode PAYLOAD OUTPUT: decodes one payload into the piece of a target file it carries,
// exactly as the updater does. A payload that does not decode leaves no OUTPUT behind.
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "patch/payload_decoder.h"
#include "patchkit/command.h"
#include "patchkit/output_file.h"

namespace {

using namespace updater;

constexpr std::string_view kName = "decode";
// The longest payload that can mean anything: the symbol table, the length field and 4,194,304
// codes of 16 bits. Bits after the last code are ignored, so allow generous room, but refuse a
// file that could only be something else.
constexpr std::int64_t kMaxPayloadFile = 64 * 1024 * 1024;

int Run(patchkit::Arguments args) {
    if (args.size() != 2) return patchkit::UsageError(kName);
    const std::string& payloadPath = args[0];
    const std::string& outputPath = args[1];

    const patchkit::InputFile input = patchkit::ReadInputFile(payloadPath, kMaxPayloadFile);
    if (const std::string problem = input.Problem("larger than any payload (" + std::to_string(input.size) + " bytes)");
        !problem.empty())
        return patchkit::Failure(kName, payloadPath + ": " + problem);

    patch::PayloadDecoder decoder;
    if (decoder.Decode(input.bytes) != patch::DecodeError::kNone)
        return patchkit::Failure(kName, payloadPath + ": " + decoder.FailureReason());
    const auto piece = decoder.Output();

    if (auto error = patchkit::WriteOutputFile(outputPath, piece); error != base::FileError::kNone)
        return patchkit::Failure(kName, outputPath + ": " + std::string(base::Describe(error)));
    std::printf("%s: %zu codes, %zu bytes -> %s\n", payloadPath.c_str(), decoder.Intermediate().size(), piece.size(),
                outputPath.c_str());
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{kName, "PAYLOAD OUTPUT",
                                                  "decode one payload resource into the piece it carries", &Run};

}  // namespace
