#include "base/file_system.h"

#include <limits>

namespace updater::base {

std::string_view Describe(FileError error) {
    // In the order of FileError.
    static constexpr std::string_view kDescriptions[] = {
        "no error",       "not found", "access denied",      "held by another program",
        "already exists", "disk full", "input/output error",
    };
    static_assert(std::size(kDescriptions) == static_cast<std::size_t>(FileError::kIo) + 1);
    const auto index = static_cast<std::size_t>(error);
    return index < std::size(kDescriptions) ? kDescriptions[index] : "unknown error";
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

std::string Folder::PathOf(std::string_view name) const {
    return path_ + PathSeparator() + std::string(name);
}

FileError RemovePlainFile(const std::string& path) {
    auto folder = Folder::Open(FolderHolding(path));
    if (!folder) return folder.error();
    return folder.value().RemovePlainFile(NameOf(path));
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
