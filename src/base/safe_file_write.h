#pragma once
// Writing a file so that a crash, a kill or a power cut at any moment leaves the target either as
// it was or complete in its new version, never a mix. The new content goes to a temporary file
// beside the target, created exclusively (an existing file of that name is never opened, let alone
// truncated), is flushed to the disk and verified, and only then takes the target's place in one
// atomic move. The temporary file is removed on every failure, a thrown error included. A step
// that another program's brief hold refuses (creating the file, the move over a target a scanner
// reads) is tried again (WhileHeld).
//
// The folder may be writable by programs with fewer rights than an elevated run of the updater,
// and they may swap it for a link elsewhere at any moment. So the target's folder is opened once,
// and the temporary file has one handle from its exclusive creation to its end: written, flushed,
// read back, moved over the target and, on a failure, removed through that handle, never found
// again by its name (Folder, NewFile in file_system.h). While it is open nobody else may write,
// move or remove it (Windows), so what was verified is exactly what takes the target's place.
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
// or end the process there. The default implementation is the file system itself. Only the
// creation names the new file; every later step is handed the file itself.
class FileSteps {
  public:
    virtual ~FileSteps() = default;
    virtual FileResult<NewFile> CreateNew(const Folder& folder, const std::string& name) {
        return folder.CreateNew(name);
    }
    virtual FileError Write(NewFile& file, std::span<const std::uint8_t> bytes) { return file.Content().Write(bytes); }
    virtual FileError Flush(NewFile& file) { return file.Content().Flush(); }
    // Moves the file over target, a name in its folder.
    virtual FileError MoveIntoPlace(NewFile& file, const std::string& target) { return file.MoveOver(target); }
    virtual FileError Remove(NewFile& file) { return file.Remove(); }
    // The pause before a step that another program's hold on path refused is tried again; false
    // when waiting is pointless (the hold is final), and the step fails as kSharingViolation.
    virtual bool WaitForHolder(const std::string& path, std::chrono::milliseconds pause) {
        (void)path;
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

inline FileError ErrorOf(FileError error) {
    return error;
}
template <class T>
FileError ErrorOf(const FileResult<T>& result) {
    return result ? FileError::kNone : result.error();
}

// Runs attempt (which returns a FileError or a FileResult) and again after each pause of the
// back-off above for as long as path is held by another program, until the patience is used up or
// the steps stop the wait; a hold that outlasts it fails as kSharingViolation.
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
    // The temporary file's name in the target's folder for each attempt (0, 1, ...), from the
    // target's name: attempts go on while a name is taken, up to maxAttempts. The default is
    // TemporaryNameBeside.
    std::function<std::string(const std::string& targetName, unsigned attempt)> temporaryName;
    unsigned maxAttempts = 16;
    // Writes the new content; false when it cannot be produced (a write error that the sink
    // reported counts as kWrite whatever the producer returns).
    std::function<bool(ByteSink& output)> produce;
    // Checks the flushed temporary file, read through its own handle from its first byte; none
    // means no check.
    std::function<ReadBack(File& written)> verify;
    // Runs after a successful verification, just before the move.
    std::function<void()> beforeMove;
    // The file that the target must still be when the new one takes its place: the one that was
    // checked before the write began. When the name leads to another file by then (a folder on
    // the way swapped for a link elsewhere, the file itself swapped), nothing is moved.
    std::optional<FileIdentity> replaces;
};

SafeWriteResult WriteFileSafely(const std::string& target, const SafeWrite& how, FileSteps& steps = SystemFileSteps());
// The same for the file targetName in a folder that the caller holds open.
SafeWriteResult WriteFileSafely(const Folder& folder, const std::string& targetName, const SafeWrite& how,
                                FileSteps& steps = SystemFileSteps());

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

// Removes the files of a folder whose names isLeftover accepts: temporary files of a run that was
// killed. Only plain files go (RemovePlainFile): the folder may be writable by programs that have
// fewer rights than this one, and an entry of such a name that is a link, a folder or read-only is
// not ours. A file that cannot be removed (another run holds it open) stays.
void RemoveLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isLeftover);
// Removes the leftover temporary files of earlier safe writes of target.
void RemoveLeftoversOf(const std::string& target);

}  // namespace updater::base
