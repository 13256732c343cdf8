#include "base/file_system.h"

#include <limits>

namespace updater::base {

std::string_view Describe(FileError error) {
    switch (error) {
        case FileError::kNone:
            return "no error";
        case FileError::kNotFound:
            return "not found";
        case FileError::kAccessDenied:
            return "access denied";
        case FileError::kSharingViolation:
            return "held by another program";
        case FileError::kAlreadyExists:
            return "already exists";
        case FileError::kDiskFull:
            return "disk full";
        case FileError::kIo:
            return "input/output error";
    }
    return "unknown error";
}

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = kNoHandle;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kNoHandle;
    }
    return *this;
}

File::~File() {
    Close();
}

bool File::IsOpen() const {
    return handle_ != kNoHandle;
}

std::int32_t FileSizeOf(const std::string& path) {
    if (!FileExists(path)) return -1;
    auto opened = File::OpenForReading(path, ReadShare::kShareAll);
    if (!opened) return -1;
    File file = std::move(opened).value();
    const auto size = file.Size();
    const bool closed = file.Close() == FileError::kNone;
    if (!size || !closed) return -1;
    // A size that does not fit is reported as a failure, not as a wrapped number.
    if (size.value() < 0 || size.value() > std::numeric_limits<std::int32_t>::max()) return -1;
    return static_cast<std::int32_t>(size.value());
}

}  // namespace updater::base
