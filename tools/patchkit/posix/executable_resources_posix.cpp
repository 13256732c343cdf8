// Native builds read the program file whole and look at it with the bounds-checked PE reader.
#include <cstdint>
#include <string>
#include <vector>

#include "patchkit/executable_resources.h"
#include "patchkit/output_file.h"
#include "patchkit/pe_reader.h"

namespace patchkit {

ExecutableRead ReadExecutableResources(const std::string& path) {
    std::vector<std::uint8_t> image;
    if (std::string problem = ReadProgramFile(path, image); !problem.empty()) return {std::nullopt, problem};
    return ReadPeResources(image);
}

}  // namespace patchkit
