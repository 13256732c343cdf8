#pragma once
// Writing a file so that a crash, a kill or a power cut at any moment leaves the target either as
// it was or complete in its new version, never a mix. The new content goes to a temporary file
// beside the target, created exclusively (an existing file of that name is never opened, let alone
// truncated), is flushed to the disk, closed and verified, and only then takes the target's place
// in one atomic move. The temporary file is removed on every failure, a thrown error included;
// one that another program still holds then stays for the next run's clean-up. Each step that
// opens, removes or moves a file waits out another program's brief hold (WhileHeld).
//
// Every writer of the updater and its tools goes through WriteFileSafely.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>

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
    virtual FileError Remove(const std::string& path) { return RemoveFile(path); }
    // The pause before a step that another program's hold on path refused is tried again. False
    // stops the waiting: the step then fails as kSharingViolation without another attempt.
    virtual bool WaitForHolder([[maybe_unused]] const std::string& path, std::chrono::milliseconds pause) {
        std::this_thread::sleep_for(pause);
        return true;
    }
};

// How long a step that opens, removes or moves a file waits for another program that holds it:
// a virus scanner opens every newly closed file, often without sharing, for anything from a few
// milliseconds to a second or two (a multi-megabyte program file). The pauses start short, so that
// the usual brief hold costs little, double up to half a second, so that a long one is not tried
// against dozens of times, and stop after about five seconds in all, which covers the longest
// holds with room to spare while a file that a running program keeps open still fails soon.
inline constexpr std::chrono::milliseconds kFirstHeldPause{10};
inline constexpr std::chrono::milliseconds kLongestHeldPause{500};
inline constexpr std::chrono::milliseconds kHeldPatience{5000};

// Runs attempt (which returns a FileError, a FileResult or a ReadBack) and again after each pause
// of the back-off above for as long as path is held by another program, until the patience is
// used up; a hold that outlasts it fails as kSharingViolation.
template <class Attempt>
auto WhileHeld(FileSteps& steps, const std::string& path, Attempt attempt) -> decltype(attempt());

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
    kVerify,         // the temporary file is not what it should be, or cannot be read back
    kTargetChanged,  // the target is no longer the file it must replace; nothing was moved
    kMove,           // it could not take the target's place
};

struct SafeWriteResult {
    SafeWriteStep failedStep = SafeWriteStep::kNone;
    FileError error = FileError::kNone;  // for the file steps, the read-back and the target's identity
    bool ok() const { return failedStep == SafeWriteStep::kNone; }
};

// One line saying which step failed and why ("written" when none did).
std::string Describe(const SafeWriteResult& result);

// What reading a temporary file back found.
struct ReadBack {
    FileError error = FileError::kNone;  // it could not be read
    bool matches = false;                // it holds what it should
};

struct SafeWrite {
    // The temporary file's full path for each attempt (0, 1, ...): attempts go on while a name is
    // taken, up to maxAttempts. The default is TemporaryNameBeside.
    std::function<std::string(const std::string& target, unsigned attempt)> temporaryName;
    unsigned maxAttempts = 16;
    // Writes the new content; false when it cannot be produced (a write error that the sink
    // reported counts as kWrite whatever the producer returns).
    std::function<bool(ByteSink& output)> produce;
    // Checks the flushed and closed temporary file; none means no check. A read-back that another
    // program's hold refused is tried again (see WhileHeld).
    std::function<ReadBack(const std::string& temporary)> verify;
    // Runs after a successful verification, just before the move.
    std::function<void()> beforeMove;
    // The file that the target must still be when the new one takes its place: the one that was
    // checked before the write began. When the name leads to another file by then (a folder on
    // the way swapped for a link elsewhere, the file itself swapped), nothing is moved.
    std::optional<FileIdentity> replaces;
};

SafeWriteResult WriteFileSafely(const std::string& target, const SafeWrite& how, FileSteps& steps = SystemFileSteps());

// The same for content that is at hand; verified by reading the file back.
SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::uint8_t> content,
                                FileSteps& steps = SystemFileSteps());
// The same for content at hand in pieces, written one after the other, so that pieces held in
// different buffers need not be copied into one first; replaces as in SafeWrite.
SafeWriteResult WriteFileSafely(const std::string& target, std::span<const std::span<const std::uint8_t>> pieces,
                                FileSteps& steps = SystemFileSteps(),
                                const std::optional<FileIdentity>& replaces = std::nullopt);

// The default temporary name: the target's own name followed by ".~", eight hexadecimal digits
// and ".tmp", so that it lands in the same folder (and on the same volume).
std::string TemporaryNameBeside(const std::string& target, unsigned attempt);
// Whether name (without folder) is such a temporary name for a target called targetName.
bool IsTemporaryNameOf(std::string_view targetName, std::string_view name);

// Removes the files of a folder whose names isLeftover accepts: temporary files of a run that was
// killed. Only plain files go (RemovePlainFile): the folder may be writable by programs that have
// fewer rights than this one, and an entry of such a name that is a link, a folder or read-only is
// not ours. A file that cannot be removed (another run holds it open) stays.
void RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isLeftover);
// Removes the leftover temporary files of earlier safe writes of target.
void RemoveLeftoversOf(const std::string& target);

inline FileError ErrorOf(FileError error) {
    return error;
}
inline FileError ErrorOf(const ReadBack& readBack) {
    return readBack.error;
}
template <class T>
FileError ErrorOf(const FileResult<T>& result) {
    return result ? FileError::kNone : result.error();
}

template <class Attempt>
auto WhileHeld(FileSteps& steps, const std::string& path, Attempt attempt) -> decltype(attempt()) {
    auto result = attempt();
    std::chrono::milliseconds waited{0};
    for (std::chrono::milliseconds pause = kFirstHeldPause; waited < kHeldPatience;
         pause = std::min(pause * 2, kLongestHeldPause)) {
        if (!IsHeldByAnotherProgram(ErrorOf(result), path)) return result;
        if (!steps.WaitForHolder(path, pause)) break;
        waited += pause;
        result = attempt();
    }
    // Still held after all that: say so, whichever way the system refused (Windows answers access
    // denied for a file that a running program or a pending deletion holds).
    if (IsHeldByAnotherProgram(ErrorOf(result), path)) result = decltype(result){FileError::kSharingViolation};
    return result;
}

}  // namespace updater::base
