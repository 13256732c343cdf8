#pragma once
// Runs two independent jobs at the same time: the second on the program's helper thread, the first
// on the calling thread; RunTogether returns when both have finished. When the helper cannot be
// had (no thread can be started, another caller is using it, or this is a forked copy of the
// process) the two run one after the other on the calling thread, with the same results.
//
// The helper is one thread kept for the life of the program, not one started per call: a thread
// that has just been started tends to wait on its creator's processor until the scheduler moves
// it, often for longer than the job takes, while a thread that has run before wakes where it ran.
//
// The jobs share nothing that one of them writes, and must not throw: nothing may leave a thread.

#include <type_traits>

namespace updater::base {

// A job held by reference: the callable must outlive the call it is passed to.
class JobRef {
  public:
    template <typename Job>
    explicit JobRef(Job& job) : object_(&job), call_([](void* object) noexcept { (*static_cast<Job*>(object))(); }) {
        static_assert(std::is_nothrow_invocable_v<Job&>, "a job that throws would end the program from its thread");
    }
    void operator()() const noexcept { call_(object_); }

  private:
    void* object_;
    void (*call_)(void*) noexcept;
};

void RunTogether(JobRef first, JobRef second) noexcept;

template <typename First, typename Second>
void RunTogether(First&& first, Second&& second) {
    RunTogether(JobRef(first), JobRef(second));
}

}  // namespace updater::base
