#pragma once
// In which state a target file is: the version it is in, judged against the known versions of its
// catalogue row. The check only reads the file.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "patch/file_catalogue.h"

namespace updater::patch {

// The codes the update run turns into its texts; the numbers are the product's.
enum class FileState : std::uint8_t {
    kCurrent = 0,         // the current version: nothing to do
    kOld = 1,             // another known version: replace it
    kUnknownVersion = 2,  // exists, matches no known version (an empty file too)
    kError = 3,           // could not be opened or read
};

std::string_view Describe(FileState state);

// The state of the file at path (which the caller knows exists) as file index fileIndex. A file
// index outside 1..34 knows no version, so a readable file is kUnknownVersion.
FileState CheckFileState(int fileIndex, const std::string& path);
FileState CheckFileState(const FileRow& row, const std::string& path);

// The state, and which file was judged: the replacement puts the new version only in place of
// that very file (ReplaceTargetFile's checked), whatever the path leads to by then.
struct FileCheck {
    FileState state = FileState::kError;
    std::optional<base::FileIdentity> identity;  // for every state but kError
};
FileCheck CheckFile(const FileRow& row, const std::string& path);

}  // namespace updater::patch
