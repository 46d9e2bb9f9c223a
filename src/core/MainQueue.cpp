#include "core/MainQueue.h"

namespace vestrino {

void MainQueue::post(Task task) {
    std::function<void()> wakeUp;
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        wakeUp = wakeUp_;
    }
    posted_.notify_all();
    if (wakeUp) {
        wakeUp();
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
    std::lock_guard lock(mutex_);
    wakeUp_ = std::move(wakeUp);
}

} // namespace vestrino
