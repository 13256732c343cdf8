// patchkit catalogue INDEX: one row of the file catalogue, as the engine sees it.
#include <cstdio>
#include <string>

#include "app/this_build.h"
#include "patch/file_catalogue.h"
#include "patchkit/command.h"
#include "patchkit/file_index_argument.h"

namespace {

using updater::patch::FileRow;

// 2713600 -> "2,713,600"
std::string WithThousands(std::int64_t n) {
    std::string digits = std::to_string(n);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

void PrintText(const char* label, std::string_view text) {
    // Titles are Windows-1250 bytes; they go out unchanged.
    std::printf("%-24s%.*s\n", label, static_cast<int>(text.size()), text.data());
}

void PrintProbes(std::span<const updater::patch::Probe> probes) {
    for (std::size_t i = 0; i < probes.size(); ++i) {
        std::printf("%s%d=%02x", i % 8 == 0 ? "      " : "  ", probes[i].offset, probes[i].value);
        if (i % 8 == 7 || i + 1 == probes.size()) std::printf("\n");
    }
}

int Run(patchkit::Arguments args) {
    if (args.size() != 1) return patchkit::UsageError("catalogue");
    const auto index = patchkit::ParseFileIndex(args[0]);
    if (!index) return patchkit::FileIndexError("catalogue");
    const FileRow row = updater::patch::CatalogueRow(*index);
    const bool active = updater::patch::IsActive(updater::app::kBuildActiveSet, *index);

    std::printf("file index %d%s\n", row.index, active ? " (active in this build)" : "");
    PrintText("title (Polish):", row.titles[0]);
    PrintText("title (other):", row.titles[1]);
    PrintText("version text:", row.versionText);
    PrintText("file name:", row.fileName);
    PrintText("payload part A:", row.resourceNames[0]);
    PrintText("payload part B:", row.resourceNames[1].empty() ? "(none)" : row.resourceNames[1]);
    std::printf("%-24s%d\n", "current version:", row.currentVersion);
    std::printf("%-24s%s\n",
                "recognised by:", row.UsesProbes() ? "size and 50 byte probes (offset=hex byte)" : "size and CRC-32");
    std::printf("known versions:\n");
    for (int v = 1; v <= updater::patch::kKnownVersionCount; ++v) {
        if (row.Size(v) == 0) continue;
        std::printf("  %2d %12s bytes", v, WithThousands(row.Size(v)).c_str());
        if (!row.UsesProbes()) std::printf("  crc32 %08x", static_cast<unsigned>(row.Crc(v)));
        std::printf("%s\n", v == row.currentVersion ? "  (current)" : "");
        if (row.UsesProbes()) PrintProbes(row.Probes(v));
    }
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{"catalogue", "INDEX",
                                                  "print the catalogue row of file index INDEX (1 to 34)", &Run};

}  // namespace
