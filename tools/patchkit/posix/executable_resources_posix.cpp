// Native builds read the program file whole and look at it with the bounds-checked PE reader.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "patchkit/executable_resources.h"
#include "patchkit/output_file.h"
#include "patchkit/pe_reader.h"

namespace patchkit {

namespace {
// Far more than any updater; a larger file is something else.
constexpr std::int64_t kMaxProgramFile = 256 * 1024 * 1024;
}  // namespace

ExecutableRead ReadExecutableResources(const std::string& path) {
    namespace base = updater::base;
    ExecutableRead failed;
    const InputFile input = ReadInputFile(path, kMaxProgramFile);
    if (input.error != base::FileError::kNone) {
        failed.error = std::string(base::Describe(input.error));
        return failed;
    }
    if (input.tooLarge) {
        failed.error = "larger than any program this tool inspects";
        return failed;
    }
    const std::vector<std::uint8_t>& image = input.bytes;
    return ReadPeResources(image);
}

}  // namespace patchkit
