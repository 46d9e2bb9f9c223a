#include "app/application/InactivityLock.h"

#include "core/RunLoop.h"

namespace vestrino {

InactivityLock::InactivityLock(RunLoop& loop, Action lock, Busy busy)
    : loop_(loop), lock_(std::move(lock)), busy_(std::move(busy)) {}

InactivityLock::~InactivityLock() {
    if (timer_) {
        timer_->invalidate();
    }
}

void InactivityLock::setLimit(std::optional<Duration> limit) {
    limit_ = limit;
    restart();
}

void InactivityLock::setArmed(bool armed) {
    armed_ = armed;
    restart();
}

void InactivityLock::noteActivity() {
    // Input comes many times a second while a finger moves: only the time is noted here; the
    // timer, when it fires, finds the later input and waits the rest of the time.
    lastActivity_ = loop_.clock().now();
}

std::optional<TimePoint> InactivityLock::deadline() const {
    if (!armed_ || !limit_) {
        return std::nullopt;
    }
    return lastActivity_ + *limit_;
}

void InactivityLock::restart() {
    if (timer_) {
        timer_->invalidate();
        timer_.reset();
    }
    lastActivity_ = loop_.clock().now();
    if (!armed_ || !limit_) {
        return;
    }
    timer_ = Timer::scheduledTimer(loop_, *limit_, false, [this](Timer&) { timerFired(); });
}

void InactivityLock::timerFired() {
    timer_.reset();
    const TimePoint now = loop_.clock().now();
    const auto due = deadline();
    if (!due) {
        return;
    }
    Duration wait{};
    if (now < *due) {
        wait = *due - now; // there was input since: the rest of the time
    } else if (busy_ && busy_()) {
        wait = kBusyRetry;
    } else {
        armed_ = false; // the lock logs out; logging in arms it again
        lock_();
        return;
    }
    timer_ = Timer::scheduledTimer(loop_, wait, false, [this](Timer&) { timerFired(); });
}

} // namespace vestrino
