#include "app/responsive_file_steps.h"

#include <algorithm>
#include <thread>

namespace updater::app {

ResponsiveFileSteps::ResponsiveFileSteps(Pump pump, HolderLookup holders, Sleep sleep)
    : pump_(std::move(pump)), holders_(std::move(holders)), sleep_(std::move(sleep)) {}

void ResponsiveFileSteps::DefaultSleep(std::chrono::milliseconds pause) {
    std::this_thread::sleep_for(pause);
}

bool ResponsiveFileSteps::WaitForHolder(const std::string& path, std::chrono::milliseconds pause) {
    if (pump_) pump_();  // the attempt that was refused, and the question below, take time of their own
    if (holders_) {
        const std::vector<FileHolder> holders = holders_(path);
        if (std::any_of(holders.begin(), holders.end(), [](const FileHolder& h) { return h.userProgram; }))
            return false;
    }
    for (std::chrono::milliseconds left = pause; left.count() > 0;) {
        const std::chrono::milliseconds slice = std::min(left, kPumpSlice);
        sleep_(slice);
        left -= slice;
        if (pump_) pump_();
    }
    return true;
}

base::FileResult<base::NewFile> ResponsiveFileSteps::CreateNew(const base::Folder& folder, const std::string& name) {
    if (pump_) pump_();
    return FileSteps::CreateNew(folder, name);
}

base::FileError ResponsiveFileSteps::Write(base::NewFile& file, std::span<const std::uint8_t> bytes) {
    const base::FileError e = FileSteps::Write(file, bytes);
    if (pump_) pump_();
    return e;
}

base::FileError ResponsiveFileSteps::Flush(base::NewFile& file) {
    const base::FileError e = FileSteps::Flush(file);
    if (pump_) pump_();
    return e;
}

}  // namespace updater::app
