#pragma once
// A reader for the resources and imports of a Windows program file held in memory. The file is untrusted:
// every offset, size and count in it is checked against the bytes that are really there (as a
// difference from the buffer's end, so no sum can overflow), the resource tree is walked to its
// fixed depth of three and no further, and any inconsistency ends the read with a reason.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "patchkit/executable_resources.h"

namespace patchkit {

// The architecture, every raw-data resource, the manifest (numbered 1) and the version
// information (numbered 1) of a PE32 or PE32+ image in file layout.
ExecutableRead ReadPeResources(std::span<const std::uint8_t> image);

// A function a program imports by name, or by number ("#N").
struct ImportedFunction {
    std::string dll;  // as the program names it
    std::string name;
};

struct ImportsRead {
    std::optional<std::vector<ImportedFunction>> imports;  // nullopt when the table is malformed
    bool delayLoads = false;                               // the program has a delay-load table
    std::string error;                                     // why there are no imports
};

// The static imports of a PE32 or PE32+ image in file layout, read with the same checks.
ImportsRead ReadPeImports(std::span<const std::uint8_t> image);

// The fixed version and the standard strings of a version resource's bytes; nullopt when they do
// not form a version resource.
std::optional<VersionInfo> ParseVersionResource(std::span<const std::uint8_t> bytes);

}  // namespace patchkit
