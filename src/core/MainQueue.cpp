#include "core/MainQueue.h"

namespace vestrino {

void MainQueue::post(Task task) {
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        wakeUp = wakeUp_;
        if (wakeUp) {
            ++waking_;
        }
    }
    posted_.notify_all();
    if (wakeUp) {
        // Called without the lock (it may take the backend's own locks), but counted.
        wakeUp();
        std::lock_guard lock(mutex_);
        --waking_;
        woken_.notify_all();
    }
}

std::size_t MainQueue::runPending() {
    std::deque<Task> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(tasks_);
    }
    for (auto& task : batch) {
        task();
    }
    return batch.size();
}

void MainQueue::waitForWork(TimePoint deadline) {
    std::unique_lock lock(mutex_);
    posted_.wait_until(lock, deadline, [this] { return !tasks_.empty(); });
}

bool MainQueue::empty() const {
    std::lock_guard lock(mutex_);
    return tasks_.empty();
}

void MainQueue::clear() {
    std::deque<Task> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(tasks_);
}

void MainQueue::setWakeUp(std::function<void()> wakeUp) {
    std::unique_lock lock(mutex_);
    wakeUp_ = std::move(wakeUp);
    woken_.wait(lock, [this] { return waking_ == 0; });
}

} // namespace vestrino
