#include "base/run_together.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace updater::base {
namespace {

TEST(RunTogether, TheSecondJobRunsBesideTheCallerOnTheSameHelperEveryTime) {
    std::vector<std::thread::id> helpers;
    for (int call = 0; call < 20; ++call) {
        int first = 0;
        int second = 0;
        std::thread::id helper;
        RunTogether([&]() noexcept { ++first; },
                    [&]() noexcept {
                        ++second;
                        helper = std::this_thread::get_id();
                    });
        ASSERT_EQ(first, 1);
        ASSERT_EQ(second, 1);  // finished before RunTogether returned
        helpers.push_back(helper);
    }
    EXPECT_NE(helpers.front(), std::this_thread::get_id());
    for (const auto& id : helpers)
        EXPECT_EQ(id, helpers.front()) << "a thread was started for a call";
}

TEST(RunTogether, CallersAtTheSameTimeEachGetBothJobsRunOnce) {
    // Only one caller can have the helper; the others run their jobs themselves.
    std::atomic<int> firsts{0};
    std::atomic<int> seconds{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c) {
        callers.emplace_back([&] {
            for (int call = 0; call < 200; ++call) {
                RunTogether([&]() noexcept { ++firsts; }, [&]() noexcept { ++seconds; });
            }
        });
    }
    for (auto& caller : callers)
        caller.join();
    EXPECT_EQ(firsts.load(), 800);
    EXPECT_EQ(seconds.load(), 800);
}

}  // namespace
}  // namespace updater::base
