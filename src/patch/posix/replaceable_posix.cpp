#include "patch/replaceable.h"

#include <sys/stat.h>

namespace updater::patch {

// No open file stands in the way of a rename here; a folder and a file without write bits do, as
// the file system layer's move has them.
base::FileError CheckReplaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return base::FileError::kNotFound;
    if (S_ISDIR(st.st_mode) || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return base::FileError::kAccessDenied;
    return base::FileError::kNone;
}

}  // namespace updater::patch
