#include "base/run_together.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "base/process_id.h"

namespace updater::base {
namespace {

class HelperThread {
  public:
    HelperThread() = default;
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;
    ~HelperThread() {
        if (!thread_.joinable()) return;
        if (owner_ != CurrentProcessId()) {
            thread_.detach();  // a forked copy: the thread is not there to end
            return;
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void RunTogether(JobRef first, JobRef second) noexcept {
        std::unique_lock<std::mutex> user(user_, std::try_to_lock);
        if (!user.owns_lock() || !Started()) {
            first();
            second();
            return;
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            job_.emplace(second);
            finished_ = false;
        }
        wake_.notify_one();
        first();
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
        job_.reset();
    }

  private:
    // Whether the thread runs in this process, starting it the first time. Called by the one user.
    bool Started() {
        if (thread_.joinable()) return owner_ == CurrentProcessId();
        try {
            thread_ = std::thread([this] { Serve(); });
        } catch (const std::system_error&) {
            return false;  // tried again next time
        }
        owner_ = CurrentProcessId();
        return true;
    }

    void Serve() noexcept {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || (job_ && !finished_); });
            if (stopping_) return;
            const JobRef job = *job_;
            lock.unlock();
            job();
            lock.lock();
            finished_ = true;
            done_.notify_one();
        }
    }

    std::mutex user_;  // one caller at a time
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<JobRef> job_;
    bool finished_ = false;
    bool stopping_ = false;
    std::thread thread_;
    std::uint32_t owner_ = 0;
};

}  // namespace

void RunTogether(JobRef first, JobRef second) noexcept {
    static HelperThread helper;
    helper.RunTogether(first, second);
}

}  // namespace updater::base
