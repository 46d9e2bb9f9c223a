#pragma once

#include "core/Clock.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vestrino {

// Work handed to the main thread: any thread posts, the main thread runs. A wake-up hook lets
// a backend that sleeps elsewhere (in SDL's event wait) be woken by a post.
class MainQueue {
public:
    using Task = std::function<void()>;

    void post(Task task);
    // Runs the tasks queued when the call began, in order; tasks they post wait for the next
    // call. Returns how many ran.
    std::size_t runPending();
    // Blocks until a task is posted or the deadline (of the real steady clock) passes.
    void waitForWork(TimePoint deadline);
    bool empty() const;
    void clear();
    // Replaces the hook; returns once no call of the old one is still running, so that a
    // backend can take its window down right after removing it.
    void setWakeUp(std::function<void()> wakeUp);

private:
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Task> tasks_;
    std::function<void()> wakeUp_;
    std::size_t waking_ = 0; // calls of the hook under way
    std::condition_variable woken_;
};

} // namespace vestrino
