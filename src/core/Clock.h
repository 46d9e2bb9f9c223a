#pragma once

#include <chrono>
#include <mutex>

namespace vestrino {

using TimePoint = std::chrono::steady_clock::time_point;
using Duration = std::chrono::steady_clock::duration;

// Where the run loop reads the time: the real monotonic clock in the application, a virtual
// clock that only moves when told in tests and headless runs.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    // True when time passes by itself (a run loop may sleep until a deadline).
    virtual bool isReal() const = 0;
};

class RealClock : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    bool isReal() const override { return true; }
};

class VirtualClock : public Clock {
public:
    TimePoint now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    bool isReal() const override { return false; }
    void advance(Duration d) {
        std::lock_guard lock(mutex_);
        now_ += d;
    }

private:
    mutable std::mutex mutex_;
    TimePoint now_{};
};

// Seconds as a clock duration.
inline Duration seconds(double s) {
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(s));
}

} // namespace vestrino
