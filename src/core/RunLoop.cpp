#include "core/RunLoop.h"

#include "core/Timer.h"

#include <algorithm>

namespace vestrino {

RunLoop::RunLoop(std::shared_ptr<Clock> clock) : clock_(std::move(clock)) {}

RunLoop& RunLoop::main() {
    static RunLoop loop;
    return loop;
}

void RunLoop::setClock(std::shared_ptr<Clock> clock) {
    clock_ = std::move(clock);
}

void RunLoop::addTimer(std::shared_ptr<Timer> timer) {
    timers_.push_back(std::move(timer));
}

std::optional<TimePoint> RunLoop::nextTimerDate() const {
    std::optional<TimePoint> next;
    for (const auto& t : timers_) {
        if (t->isValid() && (!next || t->fireDate() < *next)) {
            next = t->fireDate();
        }
    }
    return next;
}

bool RunLoop::runOnce() {
    bool ran = queue_.runPending() > 0;
    const TimePoint now = clock_->now();
    // Fire from a copy: actions add and invalidate timers.
    std::vector<std::shared_ptr<Timer>> due;
    for (const auto& t : timers_) {
        if (t->isValid() && t->fireDate() <= now) {
            due.push_back(t);
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const auto& a, const auto& b) { return a->fireDate() < b->fireDate(); });
    for (const auto& t : due) {
        t->fire(now);
        ran = true;
    }
    std::erase_if(timers_, [](const auto& t) { return !t->isValid(); });
    return ran;
}

bool RunLoop::runUntil(const std::function<bool()>& done, Duration timeout) {
    const TimePoint realDeadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        runOnce();
        if (done()) {
            return true;
        }
        const TimePoint realNow = std::chrono::steady_clock::now();
        if (realNow >= realDeadline) {
            return false;
        }
        TimePoint wakeAt = realDeadline;
        if (clock_->isReal()) {
            if (const auto next = nextTimerDate()) {
                wakeAt = std::min(wakeAt, *next);
            }
        }
        queue_.waitForWork(wakeAt);
    }
}

void RunLoop::reset() {
    queue_.clear();
    timers_.clear();
}

} // namespace vestrino
