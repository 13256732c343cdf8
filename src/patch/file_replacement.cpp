#include "patch/file_replacement.h"

#include <algorithm>
#include <new>
#include <optional>

#include "base/safe_file_write.h"
#include "patch/crc32.h"

namespace updater::patch {
namespace {

ReplaceOutcome Failed(ReplaceStep step, std::string_view resourceName = {}, DecodeError error = DecodeError::kNone) {
    ReplaceOutcome outcome;
    outcome.failedStep = step;
    outcome.resourceName = resourceName;
    outcome.decodeError = error;
    return outcome;
}

// The decoders' buffers (2 MiB of output and the intermediate bytes each) are kept from one file
// to the next for the life of the program; each holds its piece until the file is written.
PayloadDecoder& SharedDecoder(std::size_t part) {
    static PayloadDecoder decoders[2];
    return decoders[part];
}

// The new content: the decoded pieces in order, and the CRC-32 of them all.
struct NewContent {
    std::span<const std::uint8_t> pieces[2];
    std::size_t pieceCount = 0;
    std::uint32_t crc = kCrc32Initial;

    std::span<const std::span<const std::uint8_t>> Pieces() const { return {pieces, pieceCount}; }
    std::size_t Size() const { return pieces[0].size() + pieces[1].size(); }
    std::uint8_t At(std::size_t offset) const {
        return offset < pieces[0].size() ? pieces[0][offset] : pieces[1][offset - pieces[0].size()];
    }
};

// Decodes part A and part B, each into its own decoder, side by side (DecodeTwo); the CRC-32 of the
// whole is taken as the pieces are written. Nothing is written to disk before all of it is known.
ReplaceOutcome DecodePieces(const FileRow& row, const ResourceSource& resources, NewContent& content) {
    if (row.resourceNames[0].empty()) return Failed(ReplaceStep::kNoPayload);
    std::optional<std::span<const std::uint8_t>> payloads[2];
    for (std::size_t part = 0; part < 2; ++part) {
        const std::string_view name = row.resourceNames[part];
        if (name.empty()) continue;  // no part B
        payloads[part] = resources.Find(name);
        if (!payloads[part]) return Failed(ReplaceStep::kMissingResource, name);
    }
    // Both parts side by side; a lone part A on its own.
    PayloadDecoder::PairResult result;
    if (payloads[1]) {
        result =
            PayloadDecoder::DecodeTwo(SharedDecoder(0), *payloads[0], SharedDecoder(1), *payloads[1], &content.crc);
    } else {
        result.error = SharedDecoder(0).Decode(*payloads[0], content.crc);
    }
    if (result.error != DecodeError::kNone)
        return Failed(ReplaceStep::kUndecodable, row.resourceNames[result.payload], result.error);
    for (std::size_t part = 0; part < 2; ++part) {
        if (payloads[part]) content.pieces[content.pieceCount++] = SharedDecoder(part).Output();
    }
    return {};
}

// Whether the content is the row's current version: its size and the CRC-32 of the whole, for
// every row (a damaged payload may well decode to content that passes 50 probes, and a file
// written so would then pass for current for good); for probed rows also the probes, by which the
// state check will judge the file afterwards.
bool IsCurrentVersion(const FileRow& row, const NewContent& content) {
    const std::int32_t size = row.Size(row.currentVersion);
    if (size <= 0 || content.Size() != static_cast<std::size_t>(size)) return false;
    if (content.crc != row.CurrentCrc()) return false;
    if (!row.UsesProbes()) return true;
    const auto probes = row.Probes(row.currentVersion);
    if (probes.empty()) return false;
    return std::all_of(probes.begin(), probes.end(), [&](const Probe& p) {
        return p.offset >= 0 && static_cast<std::size_t>(p.offset) < content.Size() &&
               content.At(static_cast<std::size_t>(p.offset)) == p.value;
    });
}

}  // namespace

std::string Describe(const ReplaceOutcome& outcome) {
    const std::string name(outcome.resourceName);
    switch (outcome.failedStep) {
        case ReplaceStep::kNone:
            return "replaced";
        case ReplaceStep::kNoPayload:
            return "no payload is known for this file index";
        case ReplaceStep::kMissingResource:
            return "payload " + name + " is missing from the program";
        case ReplaceStep::kUndecodable:
            return "payload " + name + " cannot be decoded: " + std::string(patch::Describe(outcome.decodeError));
        case ReplaceStep::kWrongContent:
            return "the payloads do not decode to the current version of the file";
        case ReplaceStep::kOutOfMemory:
            return "not enough memory for the new content";
        case ReplaceStep::kWrite:
            return base::Describe(outcome.written);
    }
    return "unknown failure";
}

ReplaceOutcome ReplaceTargetFile(const FileRow& row, const std::string& path, const ResourceSource& resources,
                                 base::FileSteps& steps, const std::optional<base::FileIdentity>& checked) {
    try {
        // What a run that was killed half-way left beside the target.
        base::RemoveLeftoversOf(path);
        NewContent content;
        if (auto outcome = DecodePieces(row, resources, content); !outcome.ok()) return outcome;
        if (!IsCurrentVersion(row, content)) return Failed(ReplaceStep::kWrongContent);
        ReplaceOutcome outcome;
        outcome.written = base::WriteFileSafely(path, content.Pieces(), steps, checked);
        if (!outcome.written.ok()) outcome.failedStep = ReplaceStep::kWrite;
        return outcome;
    } catch (const std::bad_alloc&) {
        return Failed(ReplaceStep::kOutOfMemory);
    }
}

}  // namespace updater::patch
