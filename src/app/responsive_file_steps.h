#pragma once
// The safe write's steps as the update run uses them, from the window's one thread: a wait for
// another program's hold on a file lets the window's messages through at least every 100 ms, so
// the window repaints and answers (Windows calls a window that does not answer for 5 s "not
// responding"), and it ends at once when the system can tell that a program the user runs keeps
// the file: such a hold lasts until the program is closed, however long the run waits.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/safe_file_write.h"

namespace updater::app {

// A program that has a file open, as the system names it.
struct FileHolder {
    std::u16string name;
    // A program the user runs (with a window or a console), whose hold lasts until it is closed; not
    // a service (a virus scanner's brief look at a new file) nor the system itself.
    bool userProgram = false;
};
// The programs that have a file open, where the system can tell; none where it cannot.
using HolderLookup = std::function<std::vector<FileHolder>(const std::string& path)>;

// The longest time the window's messages wait while the run waits for a held file, and the
// slices the wait is slept in: half of it, so that the work between two slices fits in the rest.
inline constexpr std::chrono::milliseconds kLongestUnansweredWait{100};
inline constexpr std::chrono::milliseconds kPumpSlice = kLongestUnansweredWait / 2;

class ResponsiveFileSteps final : public base::FileSteps {
  public:
    using Pump = std::function<void()>;
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    ResponsiveFileSteps(Pump pump, HolderLookup holders, Sleep sleep = DefaultSleep);

    // Sleeps the pause in slices of kPumpSlice, pumping before the first and after each; false at
    // once (no pause) when a program the user runs holds path.
    bool WaitForHolder(const std::string& path, std::chrono::milliseconds pause) override;
    // Decoding the new content, writing and flushing a file take their own time (a flush waits for
    // the disk): the window's messages go through between them, so that the time without them is
    // one step's, not the sum.
    base::FileResult<base::NewFile> CreateNew(const base::Folder& folder, const std::string& name) override;
    base::FileError Write(base::NewFile& file, std::span<const std::uint8_t> bytes) override;
    base::FileError Flush(base::NewFile& file) override;

  private:
    static void DefaultSleep(std::chrono::milliseconds pause);

    Pump pump_;
    HolderLookup holders_;
    Sleep sleep_;
};

}  // namespace updater::app
