// POSIX implementation of the file system, for the native build (tests and tools).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/file_system.h"
#include "base/path.h"

namespace updater::base {
namespace {

FileError FromErrno(int e) {
    switch (e) {
        case ENOENT:
        case ENOTDIR:
            return FileError::kNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileError::kAccessDenied;
        case EEXIST:
            return FileError::kAlreadyExists;
        case ENOSPC:
        case EDQUOT:
            return FileError::kDiskFull;
        case ETXTBSY:
            return FileError::kSharingViolation;
        default:
            return FileError::kIo;
    }
}

// Root may write anywhere, so a file without write bits counts as read-only here, as it would
// for its owner on Windows.
bool IsReadOnly(const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FileResult<File> OpenWith(const std::string& path, int flags) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return FileError::kAccessDenied;
        if ((flags & O_ACCMODE) != O_RDONLY && IsReadOnly(st)) return FileError::kAccessDenied;
    }
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return FromErrno(errno);
    return File::Adopt(fd);
}

FileIdentity IdentityFrom(const struct stat& st) {
    return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A name of the folder itself, not a path through other folders.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// Unlinks name in the folder only while it is still the file looked at (unlinkat never follows a
// link). POSIX has no removal through a descriptor; the window between the look and the unlink is
// one in which only a program that may write the folder anyway can act.
FileError UnlinkIfStill(int folder, const std::string& name, const struct stat& file) {
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) return FromErrno(errno);
    if (!SameFile(named, file)) return FileError::kAccessDenied;
    return ::unlinkat(folder, name.c_str(), 0) == 0 ? FileError::kNone : FromErrno(errno);
}

}  // namespace

FileResult<File> File::OpenForReading(const std::string& path, ReadShare) {
    return OpenWith(path, O_RDONLY);
}
FileResult<File> File::CreateNew(const std::string& path) {
    return OpenWith(path, O_WRONLY | O_CREAT | O_EXCL);
}
FileResult<File> File::CreateOrTruncate(const std::string& path) {
    return OpenWith(path, O_WRONLY | O_CREAT | O_TRUNC);
}

FileResult<std::size_t> File::Read(std::span<std::uint8_t> buffer) {
    if (!IsOpen()) return FileError::kIo;
    for (;;) {
        ssize_t n = ::read(static_cast<int>(handle_), buffer.data(), buffer.size());
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return FromErrno(errno);
    }
}

FileError File::Seek(std::int64_t offset) {
    if (!IsOpen() || offset < 0) return FileError::kIo;
    return ::lseek(static_cast<int>(handle_), offset, SEEK_SET) < 0 ? FromErrno(errno) : FileError::kNone;
}

FileResult<std::int64_t> File::Size() const {
    struct stat st {};
    if (!IsOpen() || ::fstat(static_cast<int>(handle_), &st) != 0) return FileError::kIo;
    return static_cast<std::int64_t>(st.st_size);
}

FileResult<FileIdentity> File::Identity() const {
    struct stat st {};
    if (!IsOpen() || ::fstat(static_cast<int>(handle_), &st) != 0) return FileError::kIo;
    return IdentityFrom(st);
}

FileError File::Write(std::span<const std::uint8_t> bytes) {
    if (!IsOpen()) return FileError::kIo;
    while (!bytes.empty()) {
        ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return FromErrno(errno);
        }
        if (n == 0) return FileError::kDiskFull;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return FileError::kNone;
}

FileError File::Flush() {
    if (!IsOpen()) return FileError::kIo;
    return ::fsync(static_cast<int>(handle_)) == 0 ? FileError::kNone : FromErrno(errno);
}

FileError File::Close() {
    if (!IsOpen()) return FileError::kNone;
    int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    return ::close(fd) == 0 ? FileError::kNone : FromErrno(errno);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileError RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? FileError::kNone : FromErrno(errno);
}

FileError MoveIntoPlace(const std::string& source, const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || IsReadOnly(st))) return FileError::kAccessDenied;
    if (::rename(source.c_str(), target.c_str()) != 0) return FromErrno(errno);
    // The rename is a change of the folder: it survives a power cut only once the folder is synced.
    const int fd = ::open(FolderHolding(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FromErrno(errno);
    return File::Adopt(fd).Flush();
}

FileResult<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FromErrno(errno);
    return IdentityFrom(st);
}

FileResult<Folder> Folder::Open(const std::string& path) {
    // Not a link itself; links further up are followed, once, here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? FileError::kAccessDenied : FromErrno(errno);
    return Folder(File::Adopt(fd), path);
}

FileResult<NewFile> Folder::CreateNew(std::string_view name) const {
    if (!IsPlainName(name)) return FileError::kAccessDenied;
    // O_EXCL never follows a link: a link of that name is a taken name.
    const int fd = ::openat(static_cast<int>(Native()), std::string(name).c_str(),
                            O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return FromErrno(errno);
    return NewFile(File::Adopt(fd), *this, std::string(name));
}

FileResult<FileIdentity> Folder::IdentityOf(std::string_view name) const {
    struct stat st {};
    if (!IsPlainName(name)) return FileError::kNotFound;
    if (::fstatat(static_cast<int>(Native()), std::string(name).c_str(), &st, 0) != 0) return FromErrno(errno);
    return IdentityFrom(st);
}

FileError Folder::RemovePlainFile(std::string_view name, const std::optional<FileIdentity>& expected) const {
    if (!IsPlainName(name)) return FileError::kAccessDenied;
    const std::string entry(name);
    // A link is refused by the open itself (O_NOFOLLOW gives ELOOP).
    const int fd = ::openat(static_cast<int>(Native()), entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ELOOP ? FileError::kAccessDenied : FromErrno(errno);
    struct stat opened {};
    const bool statted = ::fstat(fd, &opened) == 0;
    ::close(fd);
    if (!statted) return FileError::kIo;
    if (!S_ISREG(opened.st_mode) || IsReadOnly(opened) || opened.st_nlink != 1) return FileError::kAccessDenied;
    if (expected && IdentityFrom(opened) != *expected) return FileError::kAccessDenied;
    return UnlinkIfStill(static_cast<int>(Native()), entry, opened);
}

FileError NewFile::MoveOver(std::string_view target) {
    if (!IsPlainName(target)) return FileError::kAccessDenied;
    const int folder = static_cast<int>(folder_->Native());
    const std::string to(target);
    struct stat st {};
    if (::fstatat(folder, to.c_str(), &st, 0) == 0 && (S_ISDIR(st.st_mode) || IsReadOnly(st)))
        return FileError::kAccessDenied;
    // POSIX renames by name only: the name must still lead to this file. Between that look and the
    // rename a program that may write the folder could put another file under the name; it could
    // as well have written the target itself, and the folder is the one held, so nothing outside
    // it can be reached that way.
    struct stat ours {};
    if (::fstat(static_cast<int>(file_.Native()), &ours) != 0) return FileError::kIo;
    struct stat named {};
    if (::fstatat(folder, name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !SameFile(named, ours))
        return FileError::kAccessDenied;
    if (::renameat(folder, name_.c_str(), folder, to.c_str()) != 0) return FromErrno(errno);
    name_ = to;
    // The rename is a change of the folder: it survives a power cut only once the folder is synced.
    // The file is in place whether that works or not, and must not be removed as a failed one.
    ::fsync(folder);
    return FileError::kNone;
}

FileError NewFile::Remove() {
    struct stat ours {};
    const bool statted = ::fstat(static_cast<int>(file_.Native()), &ours) == 0;
    file_.Close();
    if (!statted) return FileError::kIo;
    return UnlinkIfStill(static_cast<int>(folder_->Native()), name_, ours);
}

bool IsHeldByAnotherProgram(FileError error, const std::string&) {
    return error == FileError::kSharingViolation;
}

FileResult<std::vector<std::string>> FileNamesIn(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return FromErrno(errno);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (FileExists(folder + '/' + name)) names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

char PathSeparator() {
    return '/';
}

}  // namespace updater::base
