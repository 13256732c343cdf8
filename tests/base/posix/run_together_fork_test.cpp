#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/run_together.h"

namespace updater::base {
namespace {

// A forked copy of the process has no helper thread: handing it a job would wait for ever. The
// killed-write tests fork the updater's steps from a process that has used the helper already.
TEST(RunTogether, AForkedCopyRunsBothJobsItself) {
    bool ran = false;
    RunTogether([]() noexcept {}, [&]() noexcept { ran = true; });  // the helper exists now
    ASSERT_TRUE(ran);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        alarm(10);  // a hang ends the child with SIGALRM, which the parent reports
        int jobs = 0;
        RunTogether([&]() noexcept { ++jobs; }, [&]() noexcept { ++jobs; });
        _exit(jobs == 2 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child hung or crashed (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace updater::base
