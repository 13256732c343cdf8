#pragma once
// Runs two independent jobs at the same time: the second on a thread of its own, which has ended
// when RunTogether returns, the first on the calling thread. When no thread can be started the two
// run one after the other on the calling thread, with the same results.
//
// The jobs share nothing that one of them writes, and must not throw: nothing may leave a thread.

#include <system_error>
#include <thread>
#include <type_traits>

namespace updater::base {

template <typename First, typename Second>
void RunTogether(First&& first, Second&& second) {
    static_assert(std::is_nothrow_invocable_v<First&> && std::is_nothrow_invocable_v<Second&>,
                  "a job that throws would end the program from its thread");
    std::thread helper;
    try {
        helper = std::thread([&second] { second(); });
    } catch (const std::system_error&) {
        // No thread to be had: the second job runs after the first.
    }
    first();
    if (helper.joinable()) {
        helper.join();
    } else {
        second();
    }
}

}  // namespace updater::base
