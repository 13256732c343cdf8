#include "patch/file_state.h"

#include <array>

#include "base/file_system.h"
#include "patch/crc32.h"

namespace updater::patch {
namespace {

// The outcome of the comparisons; any failure to read the file is a separate answer, because it
// overrides whatever was found (the caller reports the file as unreadable, never as a version).
enum class Match : std::uint8_t { kNone, kMatched, kFailed };

Match MatchProbes(base::File& file, std::span<const Probe> probes) {
    // A size match with no table to confirm it must not pass as a version.
    if (probes.empty()) return Match::kNone;
    for (const Probe& probe : probes) {
        if (file.Seek(probe.offset) != base::FileError::kNone) return Match::kFailed;
        std::array<std::uint8_t, 1> byte{};
        auto read = file.Read(byte);
        if (!read || read.value() != 1) return Match::kFailed;
        if (byte[0] != probe.value) return Match::kNone;  // the first mismatch settles it
    }
    return Match::kMatched;
}

}  // namespace

std::string_view Describe(FileState state) {
    // In the order of FileState.
    static constexpr std::string_view kDescriptions[] = {"current version", "older known version (to be replaced)",
                                                         "unknown version", "cannot be opened or read"};
    static_assert(std::size(kDescriptions) == static_cast<std::size_t>(FileState::kError) + 1);
    const auto index = static_cast<std::size_t>(state);
    return index < std::size(kDescriptions) ? kDescriptions[index] : "unknown state";
}

FileState CheckFileState(int fileIndex, const std::string& path) {
    return CheckFileState(CatalogueRow(fileIndex), path);
}

FileState CheckFileState(const FileRow& row, const std::string& path) {
    return CheckFile(row, path).state;
}

FileCheck CheckFile(const FileRow& row, const std::string& path) {
    // One handle for the whole check, so that the file judged is the file whose identity is
    // recorded. Opening it while denying writers is what refuses a file that another program is
    // writing; the checksum pass comes first for every row, also those recognised by probes.
    auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
    if (!file) return {};
    auto crc = FileCrc32(file.value());
    if (!crc) return {};
    auto size = file.value().Size();
    if (!size) return {};
    auto identity = file.value().Identity();
    if (!identity) return {};

    FileState state = FileState::kUnknownVersion;
    for (int version = 1; version <= kKnownVersionCount; ++version) {
        const std::int32_t knownSize = row.Size(version);
        if (size.value() <= 0 || size.value() != knownSize) continue;
        Match match = Match::kNone;
        if (row.UsesProbes()) {
            match = MatchProbes(file.value(), row.Probes(version));
        } else if (crc.value() == row.Crc(version)) {
            match = Match::kMatched;
        }
        if (match == Match::kFailed) return {};
        if (match == Match::kMatched) {
            state = version == row.currentVersion ? FileState::kCurrent : FileState::kOld;
            break;
        }
    }
    if (file.value().Close() != base::FileError::kNone) return {};
    return {state, identity.value()};
}

}  // namespace updater::patch
