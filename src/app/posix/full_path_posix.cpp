#include "app/full_path.h"

namespace updater::app {

// POSIX takes every name as it is written.
std::string FullPathAsOpened(const std::string& path) {
    return path;
}

}  // namespace updater::app
