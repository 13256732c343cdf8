#pragma once
// Whether a file could be replaced now, asked before work whose result would replace it.

#include <string>

#include "base/file_system.h"

namespace updater::patch {

// kNone when nothing stands in the way of putting another file in place of path now; otherwise
// why: kAccessDenied (read-only, or a folder), kSharingViolation (another program has it open: on
// Windows no file takes the place of one that is open), kNotFound, kIo.
base::FileError CheckReplaceable(const std::string& path);

}  // namespace updater::patch
