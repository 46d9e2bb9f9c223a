#include "core/BackgroundTask.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace vestrino {

namespace {

// Threads that finished their task wait a while for the next one instead of ending: a thread
// costs more than its start (the TLS library sets up state for every new thread), and the
// application starts a task for every service call. A task never waits for another: when no
// thread is free, a new one starts.
class WorkerPool {
public:
    static constexpr auto kIdleLife = std::chrono::seconds(10);

    // Hands the work to a free thread, or starts one. `self` keeps the pool alive for the
    // threads, which may outlive the static that holds it at the program's exit.
    static void run(const std::shared_ptr<WorkerPool>& self, std::function<void()> work) {
        {
            std::lock_guard lock(self->mutex_);
            if (self->free_ > self->waiting_.size()) {
                self->waiting_.push_back(std::move(work));
                self->wake_.notify_one();
                return;
            }
        }
        std::thread([self, first = std::move(work)]() mutable {
            self->serve(std::move(first));
        }).detach();
    }

private:
    void serve(std::function<void()> work) {
        for (;;) {
            work();
            work = nullptr;
            std::unique_lock lock(mutex_);
            ++free_;
            const bool handed =
                wake_.wait_for(lock, kIdleLife, [this] { return !waiting_.empty(); });
            --free_;
            if (!handed) {
                return;
            }
            work = std::move(waiting_.front());
            waiting_.pop_front();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::size_t free_ = 0;
    std::deque<std::function<void()>> waiting_;
};

std::atomic<std::size_t>& counter() {
    static std::atomic<std::size_t> c{0};
    return c;
}

const std::shared_ptr<WorkerPool>& pool() {
    static const auto p = std::make_shared<WorkerPool>();
    return p;
}

} // namespace

void BackgroundTask::detach(std::function<void()> work) {
    ++counter();
    WorkerPool::run(pool(), [work = std::move(work)] {
        work();
        --counter();
    });
}

std::size_t BackgroundTask::running() {
    return counter();
}

} // namespace vestrino
