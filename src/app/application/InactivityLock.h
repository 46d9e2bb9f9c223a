#pragma once

#include "core/Clock.h"
#include "core/Timer.h"

#include <functional>
#include <memory>
#include <optional>

namespace vestrino {

class RunLoop;

// Locks the session after a time without input. Armed while someone is logged in (the
// countdown never runs on the login screen); every touch, key or typed text starts it again.
// When the time is up it calls `lock` on the run loop's thread, unless `busy` says a service
// call is still out: then it looks again a second later, so that a screen waiting for an
// answer is never taken away under it. Reads the time from the run loop's clock, so a virtual
// clock drives it in tests.
class InactivityLock {
public:
    using Action = std::function<void()>;
    using Busy = std::function<bool()>;
    static constexpr auto kBusyRetry = std::chrono::seconds(1);

    InactivityLock(RunLoop& loop, Action lock, Busy busy = {});
    ~InactivityLock();
    InactivityLock(const InactivityLock&) = delete;
    InactivityLock& operator=(const InactivityLock&) = delete;

    // The time without input that locks; nothing: never.
    void setLimit(std::optional<Duration> limit);
    std::optional<Duration> limit() const { return limit_; }
    // Armed: the countdown runs from now. Disarmed: it stops.
    void setArmed(bool armed);
    bool armed() const { return armed_; }
    // A touch, key or text: the countdown starts again.
    void noteActivity();
    // When the lock would come if nothing else happens; nothing while it cannot come.
    std::optional<TimePoint> deadline() const;

private:
    void restart();
    void timerFired();

    RunLoop& loop_;
    Action lock_;
    Busy busy_;
    std::optional<Duration> limit_;
    bool armed_ = false;
    TimePoint lastActivity_{};
    std::shared_ptr<Timer> timer_;
};

} // namespace vestrino
