#pragma once

#include <chrono>
#include <mutex>

namespace vestrino {

using TimePoint = std::chrono::steady_clock::time_point;
using Duration = std::chrono::steady_clock::duration;

// The calendar time, to the millisecond (what dates of cards and transactions are compared
// with).
using WallTime = std::chrono::sys_time<std::chrono::milliseconds>;

// Where the run loop reads the time: the real monotonic clock in the application, a virtual
// clock that only moves when told in tests and headless runs. Each also tells the calendar
// time: the system's for the real clock; for the virtual one, its start (the system's time
// when it was made, unless set) plus the virtual time that has passed.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    virtual WallTime wallNow() const = 0;
    // True when time passes by itself (a run loop may sleep until a deadline).
    virtual bool isReal() const = 0;
};

class RealClock : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    WallTime wallNow() const override {
        return std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    }
    bool isReal() const override { return true; }
};

class VirtualClock : public Clock {
public:
    TimePoint now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    WallTime wallNow() const override {
        std::lock_guard lock(mutex_);
        return wallStart_ + std::chrono::duration_cast<std::chrono::milliseconds>(now_ - start_);
    }
    bool isReal() const override { return false; }
    void advance(Duration d) {
        std::lock_guard lock(mutex_);
        now_ += d;
    }
    // The calendar time now (tests that depend on the date set it).
    void setWallNow(WallTime wall) {
        std::lock_guard lock(mutex_);
        wallStart_ = wall;
        start_ = now_;
    }

private:
    mutable std::mutex mutex_;
    TimePoint now_{};
    TimePoint start_{};
    WallTime wallStart_ =
        std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
};

// Seconds as a clock duration.
inline Duration seconds(double s) {
    return std::chrono::duration_cast<Duration>(std::chrono::duration<double>(s));
}

} // namespace vestrino
