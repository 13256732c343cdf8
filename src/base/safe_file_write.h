#pragma once
// Writing a file so that a crash, a kill or a power cut at any moment leaves the target either as
// it was or complete in its new version, never a mix. The new content goes to a temporary file
// beside the target, created exclusively (an existing file of that name is never opened, let alone
// truncated), is flushed to the disk, closed and verified, and only then takes the target's place
// in one atomic move. The temporary file is removed on every failure, a thrown error included.
//
// Every writer of the updater and its tools goes through WriteFileSafely.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace updater::base {

// The file operations of a safe write, one call each, so that tests can make any one of them fail
// or end the process there. The default implementation is the file system itself.
class FileSteps {
  public:
    virtual ~FileSteps() = default;
    virtual FileResult<File> CreateNew(const std::string& path) { return File::CreateNew(path); }
    virtual FileError Write(File& file, std::span<const std::uint8_t> bytes) { return file.Write(bytes); }
    virtual FileError Flush(File& file) { return file.Flush(); }
    virtual FileError Close(File& file) { return file.Close(); }
    virtual FileError MoveIntoPlace(const std::string& source, const std::string& target) {
        return base::MoveIntoPlace(source, target);
    }
};

// The file system, unaltered.
FileSteps& SystemFileSteps();

// Where bytes are written to, in order.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual FileError Write(std::span<const std::uint8_t> bytes) = 0;
};

enum class SafeWriteStep : std::uint8_t {
    kNone,     // the target now holds the new content
    kCreate,   // no temporary file could be created beside the target
    kProduce,  // the producer gave up for a reason of its own
    kWrite,
    kFlush,
    kClose,
    kVerify,  // the temporary file is not what it should be
    kMove,    // it could not take the target's place
};

struct SafeWriteResult {
    SafeWriteStep failedStep = SafeWriteStep::kNone;
    FileError error = FileError::kNone;  // for the file steps
    bool ok() const { return failedStep == SafeWriteStep::kNone; }
};

struct SafeWrite {
    // The temporary file's full path for each attempt (0, 1, ...): attempts go on while a name is
    // taken, up to maxAttempts. The default is TemporaryNameBeside.
    std::function<std::string(const std::string& target, unsigned attempt)> temporaryName;
    unsigned maxAttempts = 16;
    // Writes the new content; false when it cannot be produced (a write error that the sink
    // reported counts as kWrite whatever the producer returns).
    std::function<bool(ByteSink& output)> produce;
    // Checks the flushed and closed temporary file; none means no check.
    std::function<bool(const std::string& temporary)> verify;
    // Runs after a successful verification, just before the move.
    std::function<void()> beforeMove;
};

SafeWriteResult WriteFileSafely(const std::string& target, const SafeWrite& how, FileSteps& steps = SystemFileSteps());

// The same for content that is at hand; verified by reading the file back.
SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::uint8_t> content,
                                FileSteps& steps = SystemFileSteps());
// The same for content at hand in pieces, written one after the other, so that pieces held in
// different buffers need not be copied into one first.
SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::span<const std::uint8_t>> pieces,
                                FileSteps& steps = SystemFileSteps());

// The default temporary name: the target's own name followed by ".~", eight hexadecimal digits
// and ".tmp", so that it lands in the same folder (and on the same volume).
std::string TemporaryNameBeside(const std::string& target, unsigned attempt);
// Whether name (without folder) is such a temporary name for a target called targetName.
bool IsTemporaryNameOf(std::string_view targetName, std::string_view name);

// The folder part of a path (without the last separator) and the name part.
std::string_view FolderOf(std::string_view path);
std::string_view NameOf(std::string_view path);

// Removes the files of a folder whose names isLeftover accepts: temporary files of a run that was
// killed. A file that cannot be removed (another run holds it open) stays.
void RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isLeftover);
// Removes the leftover temporary files of earlier safe writes of target.
void RemoveLeftoversOf(const std::string& target);

}  // namespace updater::base
