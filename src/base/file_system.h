#pragma once
// The file system as the patch engine sees it. Paths are 8-bit strings in the system code page,
// as the product stores them: on Windows they are widened with that code page and handed to the
// wide APIs; elsewhere they are used as they are. Every file or folder handle this layer gives out
// is owned by a File and closed by it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/path.h"  // PathSeparator, and taking paths apart
#include "base/result.h"

namespace updater::base {

enum class FileError : std::uint8_t {
    kNone,
    kNotFound,
    kAccessDenied,      // read-only file or folder, no permission
    kSharingViolation,  // another program holds the file open in a way that excludes us
    kAlreadyExists,
    kDiskFull,
    kIo,  // anything else
};

std::string_view Describe(FileError error);

template <class T>
using FileResult = Result<T, FileError>;

// What tells one file from every other on the machine, whichever path leads to it: the volume's
// serial number and the file's index on it on Windows, the device and inode elsewhere. A file that
// another file took the name of, or a folder swapped for a link to another, has another identity.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Who else may open a file while we read it.
enum class ReadShare : std::uint8_t {
    kDenyWriters,  // others may read, nobody may write (fails while someone is writing)
    kShareAll,
};

class File {
  public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    static FileResult<File> OpenForReading(const std::string& path, ReadShare share);
    // Creates a new file for writing; fails with kAlreadyExists when the name is taken.
    static FileResult<File> CreateNew(const std::string& path);
    // Creates a file for writing, or truncates an existing one.
    static FileResult<File> CreateOrTruncate(const std::string& path);

    bool IsOpen() const;
    // Reads up to buffer.size() bytes at the current position; 0 at the end of the file.
    FileResult<std::size_t> Read(std::span<std::uint8_t> buffer);
    FileError Seek(std::int64_t offset);
    FileResult<std::int64_t> Size() const;
    FileResult<FileIdentity> Identity() const;
    // Writes all of bytes or fails; a short write (disk full) is an error, never silent.
    FileError Write(std::span<const std::uint8_t> bytes);
    // Pushes written data to the disk.
    FileError Flush();
    // Closes the handle and reports a failure to close; the destructor closes silently.
    FileError Close();

  private:
    // A Windows HANDLE or a POSIX descriptor; -1 (INVALID_HANDLE_VALUE) when closed.
    using Handle = std::intptr_t;
    static constexpr Handle kNoHandle = -1;
    explicit File(Handle handle) : handle_(handle) {}
    Handle handle_ = kNoHandle;

  public:
    // For the platform implementations only: takes ownership of an open handle, and lends it.
    static File Adopt(Handle handle) { return File(handle); }
    Handle Native() const { return handle_; }
};

class NewFile;

// A folder held open while files in it are created, looked at, moved and removed: each name is
// looked up in the folder that was opened, whatever its path leads to by then. The folder may be
// one that programs with fewer rights than this one can write, and they may swap a folder on its
// path for a link elsewhere at any moment; what was opened stays what is worked in. Natively the
// folder itself may not be a link (O_NOFOLLOW: refused as kAccessDenied).
class Folder {
  public:
    static FileResult<Folder> Open(const std::string& path);

    const std::string& Path() const { return path_; }
    // Path() + separator + name: for messages and for telling another program's hold, never to
    // open, move or remove anything.
    std::string PathOf(std::string_view name) const;

    // Creates the file name exclusively (kAlreadyExists when the name is taken, by a link too) and
    // keeps it open for reading, writing and its move or removal. On Windows others may read it
    // while it is open, and nobody may write, move or remove it; when this process has an
    // administrator's rights, the file is created so that only Administrators and SYSTEM may ever
    // write or remove it, whatever the folder lets its users do.
    FileResult<NewFile> CreateNew(std::string_view name) const;
    // The identity of the file that name leads to now (a link followed, as opening it would).
    FileResult<FileIdentity> IdentityOf(std::string_view name) const;
    // Removes name only when it is a plain file of its own (see RemovePlainFile) and, when
    // expected is given, that very file; it is looked at and removed through one handle.
    FileError RemovePlainFile(std::string_view name, const std::optional<FileIdentity>& expected = std::nullopt) const;

  private:
    Folder(File handle, std::string path) : handle_(std::move(handle)), path_(std::move(path)) {}
    std::intptr_t Native() const { return handle_.Native(); }
    File handle_;
    std::string path_;
    friend class NewFile;
};

// A file this program created in a held folder (Folder::CreateNew), kept open from its creation
// until it has taken its target's place or is gone: written, flushed, read back, moved and removed
// through the one handle, never found again by its name. The folder must outlive it.
class NewFile {
  public:
    NewFile(NewFile&&) noexcept = default;
    NewFile& operator=(NewFile&&) noexcept = default;

    // The open file, for writing, flushing and reading back.
    File& Content() { return file_; }
    const std::string& Name() const { return name_; }
    std::string Path() const { return folder_->PathOf(name_); }  // for messages only

    // Takes the place of target, a name in the same folder, in one step (an atomic rename that
    // replaces an existing file, never a read-only one or a folder), made durable before it
    // returns as far as the system lets it: once renamed, the file counts as in place. The file
    // stays open.
    FileError MoveOver(std::string_view target);
    // Removes the file and closes it. On Windows through the handle itself; POSIX removes by name
    // only, so there the name is unlinked in the held folder only while it still leads to this
    // very file (otherwise another program moved it: it stays, kAccessDenied).
    FileError Remove();

  private:
    friend class Folder;
    NewFile(File file, const Folder& folder, std::string name)
        : file_(std::move(file)), folder_(&folder), name_(std::move(name)) {}
    File file_;
    const Folder* folder_;
    std::string name_;
};

bool FileExists(const std::string& path);       // a file (not a folder) of that name exists
bool DirectoryExists(const std::string& path);  // a folder of that name exists
FileError RemoveFile(const std::string& path);
// Removes path only when it is a plain file of its own: not a folder, a link or any other reparse
// point, not read-only and with no other name (hard link) elsewhere. It is looked at and removed
// through one handle opened without following links, in its folder held open
// (Folder::RemovePlainFile), so what was checked is what goes. Anything else stays and gives
// kAccessDenied.
FileError RemovePlainFile(const std::string& path);
// Puts source in place of target in one step (an atomic rename replacing an existing target), and
// makes the rename itself durable before it returns. By name: for tests and tools, never for what
// an elevated run replaces (that goes through NewFile::MoveOver).
FileError MoveIntoPlace(const std::string& source, const std::string& target);
// The identity of the file that path leads to now (links followed, as opening the path would).
FileResult<FileIdentity> IdentityOf(const std::string& path);
// The size of a file in bytes; -1 for a missing file, a folder, a file of 2 GiB or more, or any
// failure to open, size or close it.
std::int32_t FileSizeOf(const std::string& path);

// Whether error, met while opening, removing or moving path, means that another program holds the
// file for the moment (as a virus scanner does with a file just written), so that trying again
// shortly may succeed: a sharing violation, or on Windows access denied on an existing file that
// is neither read-only nor a folder (a file being deleted or mapped as a running program).
bool IsHeldByAnotherProgram(FileError error, const std::string& path);

// The names of the files (not folders) in a folder, in no particular order.
FileResult<std::vector<std::string>> FileNamesIn(const std::string& folder);

}  // namespace updater::base
