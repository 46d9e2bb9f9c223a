#include "core/BackgroundTask.h"

#include <atomic>
#include <thread>

namespace vestrino {

namespace {
std::atomic<std::size_t>& counter() {
    static std::atomic<std::size_t> c{0};
    return c;
}
} // namespace

void BackgroundTask::detach(std::function<void()> work) {
    ++counter();
    std::thread([work = std::move(work)] {
        work();
        --counter();
    }).detach();
}

std::size_t BackgroundTask::running() {
    return counter();
}

} // namespace vestrino
