#pragma once

#include "core/Clock.h"
#include "core/MainQueue.h"

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace vestrino {

class Timer;

// The main thread's loop: the main queue and the timers, on a clock that is real in the
// application and virtual in tests and headless runs. The view layer drives the same loop
// from its own tick.
class RunLoop {
public:
    explicit RunLoop(std::shared_ptr<Clock> clock = std::make_shared<RealClock>());

    // The application's loop. Its thread is the one that last called adoptCurrentThread()
    // (the first thread to use it otherwise).
    static RunLoop& main();

    Clock& clock() const { return *clock_; }
    void setClock(std::shared_ptr<Clock> clock);
    MainQueue& queue() { return queue_; }

    // Posts work to this loop's thread, from any thread.
    void post(MainQueue::Task task) { queue_.post(std::move(task)); }

    void addTimer(std::shared_ptr<Timer> timer);
    std::optional<TimePoint> nextTimerDate() const;
    std::size_t timerCount() const { return timers_.size(); }

    // One pass: the queued tasks, then every timer whose date has come. True when anything ran.
    bool runOnce();
    // Runs passes until `done` holds or `timeout` of real time passes, sleeping between them
    // when the clock is real. True when `done` held.
    bool runUntil(const std::function<bool()>& done, Duration timeout);

    void adoptCurrentThread() { thread_ = std::this_thread::get_id(); }
    bool isCurrentThread() const { return thread_ == std::this_thread::get_id(); }

    // Drops every task and timer (between tests).
    void reset();

private:
    std::shared_ptr<Clock> clock_;
    MainQueue queue_;
    std::vector<std::shared_ptr<Timer>> timers_;
    std::thread::id thread_ = std::this_thread::get_id();
};

} // namespace vestrino
