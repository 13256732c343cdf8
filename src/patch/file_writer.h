#pragma once
// The file operations by which a replacement writes and installs a new file, one call each, so
// that tests can make any one of them fail (a short write on a full disk, a flush or a rename
// refused) on real files. The default implementation is the file system itself.

#include <cstdint>
#include <span>
#include <string>

#include "base/file_system.h"

namespace updater::patch {

class FileWriter {
  public:
    virtual ~FileWriter() = default;

    virtual base::FileResult<base::File> CreateNew(const std::string& path) { return base::File::CreateNew(path); }
    virtual base::FileError Write(base::File& file, std::span<const std::uint8_t> bytes) { return file.Write(bytes); }
    virtual base::FileError Flush(base::File& file) { return file.Flush(); }
    virtual base::FileError Close(base::File& file) { return file.Close(); }
    virtual base::FileError MoveIntoPlace(const std::string& source, const std::string& target) {
        return base::MoveIntoPlace(source, target);
    }
};

// The file system, unaltered.
FileWriter& SystemFileWriter();

}  // namespace updater::patch
