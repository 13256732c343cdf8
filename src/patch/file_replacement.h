#pragma once
// Writes the current version of a target file from the payloads its catalogue row names: part A,
// then part B when there is one.
//
// The old file is never touched until the new one is complete and verified: every piece is
// decoded first, the result is checked against the row's current version, and the file is then
// written safely (base/safe_file_write.h): a new file beside the target, flushed, read back and
// compared, and only then moved over the target in one step. Whatever fails, the target is left as
// it was and the new file is removed; leftovers of a killed run are removed first.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/safe_file_write.h"
#include "patch/file_catalogue.h"
#include "patch/payload_decoder.h"
#include "patch/resource_source.h"

namespace updater::patch {

enum class ReplaceStep : std::uint8_t {
    kNone,       // the file was written
    kNoPayload,  // the row names no part A (not a catalogue row)
    kMissingResource,
    kUndecodable,
    kWrongContent,  // the decoded pieces are not the row's current version
    kOutOfMemory,
    kWrite,  // the safe write of the new content failed: written says at which step and why
};

struct ReplaceOutcome {
    ReplaceStep failedStep = ReplaceStep::kNone;
    base::SafeWriteResult written;                 // for kWrite
    DecodeError decodeError = DecodeError::kNone;  // for kUndecodable
    std::string_view resourceName;                 // the piece concerned, if any

    bool ok() const { return failedStep == ReplaceStep::kNone; }
};

// One line saying what failed ("replaced" when nothing did).
std::string Describe(const ReplaceOutcome& outcome);

// Writes the current version of the row's file at path from the payloads in resources. checked is
// the identity of the file that the state check judged (FileCheck::identity): the new file takes
// the place only of that file. Without it (a missing file is created), whatever has the name then
// is replaced.
ReplaceOutcome ReplaceTargetFile(const FileRow& row, const std::string& path, const ResourceSource& resources,
                                 base::FileSteps& steps = base::SystemFileSteps(),
                                 const std::optional<base::FileIdentity>& checked = std::nullopt);

}  // namespace updater::patch
