#pragma once

#include "core/Clock.h"

#include <functional>
#include <memory>

namespace vestrino {

class RunLoop;

// A one-shot or repeating timer fired by the run loop it is scheduled on, on that loop's
// thread. The loop keeps a scheduled timer alive until it is invalidated or, for a one-shot
// timer, has fired.
class Timer : public std::enable_shared_from_this<Timer> {
public:
    using Action = std::function<void(Timer&)>;

    static std::shared_ptr<Timer> scheduledTimer(RunLoop& loop, Duration interval, bool repeats,
                                                 Action action);

    void invalidate() { valid_ = false; }
    bool isValid() const { return valid_; }
    TimePoint fireDate() const { return fireDate_; }
    Duration interval() const { return interval_; }
    bool repeats() const { return repeats_; }

    // Called by the run loop when the fire date has come.
    void fire(TimePoint now);

    Timer(Duration interval, bool repeats, Action action, TimePoint fireDate);

private:
    Duration interval_;
    bool repeats_;
    Action action_;
    TimePoint fireDate_;
    bool valid_ = true;
};

} // namespace vestrino
