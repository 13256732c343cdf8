// declaration_check INDEX [PAYLOAD...]: the configure-time check of one active file of a build's
// declaration. The payload files (part A, then part B where the row has one) must decode to the
// current version of the row: its size and CRC-32, and for file indices 1 to 23 also the 50
// probes. On success prints the row's resource names (part A;part B) for the build to embed the
// payloads under; on failure one line saying why, on standard error, and exit code 1.
//
// Built for the machine that configures (CMake compiles it with the host's compiler), so that a
// cross build checks its payloads before anything is compiled.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "patch/crc32.h"
#include "patch/file_catalogue.h"
#include "patch/payload_decoder.h"

namespace {

using namespace updater;

int Refuse(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
}

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Refuse("usage: declaration_check INDEX [PAYLOAD...]");
    char* end = nullptr;
    const long index = std::strtol(argv[1], &end, 10);
    if (*end != '\0' || !patch::IsFileIndex(index))
        return Refuse(std::string("'") + argv[1] + "' is no file index (1 to 34)");
    const patch::FileRow row = patch::CatalogueRow(static_cast<int>(index));
    // Named as patchkit inspect names it.
    const std::string file = "file " + std::to_string(index) + " " + std::string(row.fileName);

    std::vector<std::string_view> names;
    for (std::string_view name : row.resourceNames)
        if (!name.empty()) names.push_back(name);
    const std::size_t given = static_cast<std::size_t>(argc - 2);
    if (given == 0) return Refuse(file + " is active but the declaration gives no payloads for it");
    if (given != names.size())
        return Refuse(file + " has " + std::to_string(names.size()) +
                      " payload(s) in the catalogue, the declaration gives " + std::to_string(given));

    std::vector<std::uint8_t> content;
    patch::PayloadDecoder decoder;
    for (std::size_t part = 0; part < given; ++part) {
        const std::string path = argv[2 + part];
        std::vector<std::uint8_t> payload;
        if (!ReadWhole(path, payload)) return Refuse(file + ": cannot read the payload " + path);
        if (decoder.Decode(payload) != patch::DecodeError::kNone)
            return Refuse(file + ": the payload " + path + " does not decode: " + decoder.FailureReason());
        content.insert(content.end(), decoder.Output().begin(), decoder.Output().end());
    }

    const int current = row.currentVersion;
    const std::uint32_t crc = patch::Crc32(content);
    const std::string made = file + ": the payloads make " + std::to_string(content.size()) + " bytes with CRC-32 " +
                             Hex8(crc) + ", but version " + std::to_string(current) + " has " +
                             std::to_string(row.Size(current)) + " bytes";
    if (content.size() != static_cast<std::size_t>(row.Size(current)) || crc != row.CurrentCrc())
        return Refuse(made + " with CRC-32 " + Hex8(row.CurrentCrc()));
    for (const patch::Probe& probe : row.Probes(current)) {
        if (content[static_cast<std::size_t>(probe.offset)] != probe.value)
            return Refuse(made + " and another byte at offset " + std::to_string(probe.offset));
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        std::printf("%s%.*s", i ? ";" : "", static_cast<int>(names[i].size()), names[i].data());
    std::printf("\n");
    return 0;
}
