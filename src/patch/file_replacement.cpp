#include "patch/file_replacement.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <new>
#include <vector>

#include "patch/crc32.h"

namespace updater::patch {
namespace {

ReplaceOutcome Failed(ReplaceStep step, base::FileError error = base::FileError::kNone) {
    ReplaceOutcome outcome;
    outcome.failedStep = step;
    outcome.fileError = error;
    return outcome;
}

// The decoder's buffers (2 MiB of output and the intermediate bytes) are kept from one piece to
// the next for the life of the program; everything runs on one thread.
PayloadDecoder& SharedDecoder() {
    static PayloadDecoder decoder;
    return decoder;
}

// Decodes part A and then part B into content. Nothing is written before all of it is known.
ReplaceOutcome DecodePieces(const FileRow& row, const ResourceSource& resources, std::vector<std::uint8_t>& content) {
    if (row.resourceNames[0].empty()) return Failed(ReplaceStep::kNoPayload);
    PayloadDecoder& decoder = SharedDecoder();
    for (std::string_view name : row.resourceNames) {
        if (name.empty()) continue;  // no part B
        ReplaceOutcome outcome;
        outcome.resourceName = name;
        auto payload = resources.Find(name);
        if (!payload) {
            outcome.failedStep = ReplaceStep::kMissingResource;
            return outcome;
        }
        outcome.decodeError = decoder.Decode(*payload);
        if (outcome.decodeError != DecodeError::kNone) {
            outcome.failedStep = ReplaceStep::kUndecodable;
            return outcome;
        }
        const auto piece = decoder.Output();
        content.insert(content.end(), piece.begin(), piece.end());
    }
    return {};
}

// Whether bytes are what the row calls its current version: the size always, then the CRC-32 or
// the probes, as the state check will judge the file afterwards.
bool IsCurrentVersion(const FileRow& row, std::span<const std::uint8_t> bytes) {
    const std::int32_t size = row.Size(row.currentVersion);
    if (size <= 0 || bytes.size() != static_cast<std::size_t>(size)) return false;
    if (!row.UsesProbes()) return Crc32(bytes) == row.Crc(row.currentVersion);
    const auto probes = row.Probes(row.currentVersion);
    if (probes.empty()) return false;
    return std::all_of(probes.begin(), probes.end(), [&](const Probe& p) {
        return p.offset >= 0 && static_cast<std::size_t>(p.offset) < bytes.size() &&
               bytes[static_cast<std::size_t>(p.offset)] == p.value;
    });
}

// A name beside the target that nothing else uses: the target's name with a suffix, so it lands
// in the same folder (and on the same volume) without taking the path apart.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                       std::chrono::system_clock::now().time_since_epoch().count());
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".~%08x.tmp", seed + counter.fetch_add(1) * 0x9E3779B1u + attempt);
    return target + suffix;
}

// Reads the new file back: what reached the disk must be exactly what was decoded.
bool ReadsBackAs(const std::string& path, std::span<const std::uint8_t> content, std::uint32_t crc) {
    {
        auto file = base::File::OpenForReading(path, base::ReadShare::kDenyWriters);
        if (!file) return false;
        auto size = file.value().Size();
        if (!size || size.value() != static_cast<std::int64_t>(content.size())) return false;
    }
    auto fileCrc = FileCrc32(path);
    return fileCrc && fileCrc.value() == crc;
}

ReplaceOutcome WriteAndInstall(const std::string& target, std::span<const std::uint8_t> content, FileWriter& writer) {
    constexpr unsigned kNameAttempts = 16;
    std::string temporary;
    base::FileResult<base::File> created = base::FileError::kIo;
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = TemporaryName(target, attempt);
        created = writer.CreateNew(temporary);
        if (created || created.error() != base::FileError::kAlreadyExists) break;
    }
    if (!created) return Failed(ReplaceStep::kCreate, created.error());

    base::File& file = created.value();
    ReplaceOutcome outcome;
    base::FileError error = writer.Write(file, content);
    if (error != base::FileError::kNone) {
        outcome = Failed(ReplaceStep::kWrite, error);
    } else if (error = writer.Flush(file); error != base::FileError::kNone) {
        outcome = Failed(ReplaceStep::kFlush, error);
    }
    // Closed in every case, also after a failure: Windows cannot delete a file that is open.
    error = writer.Close(file);
    if (error != base::FileError::kNone && outcome.ok()) outcome = Failed(ReplaceStep::kClose, error);
    file.Close();  // in case a failing close left the handle open

    if (outcome.ok() && !ReadsBackAs(temporary, content, Crc32(content))) outcome = Failed(ReplaceStep::kVerify);
    if (outcome.ok()) {
        if (auto e = writer.MoveIntoPlace(temporary, target); e != base::FileError::kNone)
            outcome = Failed(ReplaceStep::kMove, e);
    }
    if (!outcome.ok()) base::RemoveFile(temporary);
    return outcome;
}

}  // namespace

FileWriter& SystemFileWriter() {
    static FileWriter writer;
    return writer;
}

std::string Describe(const ReplaceOutcome& outcome) {
    const std::string name(outcome.resourceName);
    const std::string fileError(base::Describe(outcome.fileError));
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
        case ReplaceStep::kCreate:
            return "cannot create the new file beside the target: " + fileError;
        case ReplaceStep::kWrite:
            return "cannot write the new file: " + fileError;
        case ReplaceStep::kFlush:
            return "cannot flush the new file to disk: " + fileError;
        case ReplaceStep::kClose:
            return "cannot close the new file: " + fileError;
        case ReplaceStep::kVerify:
            return "the new file does not read back as written";
        case ReplaceStep::kMove:
            return "cannot put the new file in place of the target: " + fileError;
    }
    return "unknown failure";
}

bool ReplaceTargetFile(int fileIndex, const std::string& path) {
    return ReplaceTargetFile(CatalogueRow(fileIndex), path, ProgramResources()).ok();
}

ReplaceOutcome ReplaceTargetFile(const FileRow& row, const std::string& path, const ResourceSource& resources,
                                 FileWriter& writer) {
    try {
        std::vector<std::uint8_t> content;
        content.reserve(static_cast<std::size_t>(std::max<std::int32_t>(row.Size(row.currentVersion), 0)));
        if (auto outcome = DecodePieces(row, resources, content); !outcome.ok()) return outcome;
        if (!IsCurrentVersion(row, content)) return Failed(ReplaceStep::kWrongContent);
        return WriteAndInstall(path, content, writer);
    } catch (const std::bad_alloc&) {
        return Failed(ReplaceStep::kOutOfMemory);
    }
}

}  // namespace updater::patch
