#pragma once
// The running process's id, so that state kept for the life of a process can tell that it is in a
// forked copy of it (where only the thread that forked goes on).

#include <cstdint>

namespace updater::base {

std::uint32_t CurrentProcessId();

}  // namespace updater::base
