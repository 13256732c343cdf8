// patchkit fixture NAME OUTPUT: writes one of the synthetic test files (see fixture_registry.h).
// The two versions of the program file are registered here; other fixtures register themselves
// from their own files. row-INDEX-vVERSION names any known version of any catalogue row
// (fixtures/row_fixture.h).
#include <cstdio>
#include <string>
#include <utility>

#include "fixtures/quorbel_fixture.h"
#include "fixtures/row_fixture.h"
#include "patch/crc32.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"
#include "patchkit/fixture_registry.h"
#include "patchkit/output_file.h"

namespace {

using namespace updater;

constexpr std::string_view kName = "fixture";

void ListFixtures() {
    std::fprintf(stderr, "fixtures:\n");
    for (const patchkit::Fixture& f : patchkit::Fixtures()) {
        std::fprintf(stderr, "  %-14.*s %.*s\n", static_cast<int>(f.name.size()), f.name.data(),
                     static_cast<int>(f.description.size()), f.description.data());
    }
    std::fprintf(stderr, "  %-14s %s\n", "row-I-vV", "known version V of catalogue row I (row-27-v4)");
}

int Run(patchkit::Arguments args) {
    if (args.size() != 2) {
        patchkit::UsageError(kName);
        ListFixtures();
        return patchkit::kExitUsage;
    }
    std::vector<std::uint8_t> bytes;
    if (const auto rowVersion = fixtures::ParseRowVersionName(args[0])) {
        auto made = fixtures::MakeRowVersion(rowVersion->index, rowVersion->version);
        if (!made) return patchkit::Failure(kName, args[0] + ": the catalogue knows no such row and version");
        bytes = std::move(*made);
    } else if (const patchkit::Fixture* fixture = patchkit::FindFixture(args[0])) {
        bytes = fixture->generate();
    } else {
        patchkit::ArgumentError(kName, "unknown fixture '" + args[0] + "'");
        ListFixtures();
        return patchkit::kExitUsage;
    }
    if (bytes.empty()) return patchkit::Failure(kName, args[0] + ": the generator produced nothing");
    if (auto e = patchkit::WriteOutputFile(args[1], bytes); e != base::FileError::kNone)
        return patchkit::Failure(kName, args[1] + ": " + std::string(base::Describe(e)));
    std::printf("%s: %zu bytes, CRC-32 %08x\n", args[1].c_str(), bytes.size(),
                static_cast<unsigned>(patch::Crc32(bytes)));
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    "fixture", "NAME OUTPUT", "writes a synthetic test file (run without arguments for the list)", &Run};

const patchkit::FixtureRegistration kQuorbelOld{
    "quorbel-old", "synthetic Quorbel2.exe, old version (2,713,600 bytes, CRC-32 9053aae7)", &fixtures::MakeQuorbelOld};
const patchkit::FixtureRegistration kQuorbelNew{
    "quorbel-new", "synthetic Quorbel2.exe, new version (2,721,280 bytes, CRC-32 f4f34db0)", &fixtures::MakeQuorbelNew};

}  // namespace
