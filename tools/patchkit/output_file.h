#pragma once
// Whole-file input and output for patchkit commands: every command reads and writes through these.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"

namespace patchkit {

// Writes bytes safely (base/safe_file_write.h): a failure leaves path as it was and no partial file
// behind.
updater::base::FileError WriteOutputFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Reads a whole file, refusing (kNone with tooLarge set) one larger than maxSize before reading it.
struct InputFile {
    updater::base::FileError error = updater::base::FileError::kNone;
    bool tooLarge = false;
    std::int64_t size = 0;
    std::vector<std::uint8_t> bytes;

    // Empty when the file was read; else why not: the file error, or whenTooLarge.
    std::string Problem(std::string_view whenTooLarge) const;
};
InputFile ReadInputFile(const std::string& path, std::int64_t maxSize);

// A Windows program file whole (inspect, imports); the reason when it cannot be read.
std::string ReadProgramFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace patchkit
