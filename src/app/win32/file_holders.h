#pragma once
// Which programs have a file open, as the Restart Manager (Windows Vista and later) tells.

#include <string>
#include <vector>

#include "app/responsive_file_steps.h"

namespace updater::app::win32 {

// The programs that have the file at path open; none where the system cannot tell (no Restart
// Manager, or one that answers nothing, as under Wine).
std::vector<FileHolder> ProgramsHolding(const std::string& path);

}  // namespace updater::app::win32
