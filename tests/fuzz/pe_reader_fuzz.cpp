// Feeds arbitrary bytes to patchkit's reader of Windows program files, which reads updaters from
// anyone: as a program's resources, as its imports and as a version resource. Besides not
// crashing, a read that succeeds holds no more resource bytes than the input has and no more
// imports than its entries can name, and a refusal always says why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "patchkit/pe_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);

    const patchkit::ExecutableRead read = patchkit::ReadPeResources(input);
    if (read.resources) {
        std::size_t held = read.resources->manifest.size();
        for (const patchkit::NamedResource& r : read.resources->rawData)
            held += r.bytes.size();
        if (held > size) std::abort();
    } else if (read.error.empty()) {
        std::abort();
    }

    const patchkit::ImportsRead imports = patchkit::ReadPeImports(input);
    if (imports.imports) {
        if (imports.imports->size() > size / 4) std::abort();  // each takes a table entry of 4 bytes or more
    } else if (imports.error.empty()) {
        std::abort();
    }

    (void)patchkit::ParseVersionResource(input);
    return 0;
}
