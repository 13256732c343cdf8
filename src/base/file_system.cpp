#include "base/file_system.h"

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

}  // namespace updater::base
