#pragma once

#include "app/application/VestrinoAppDelegate.h"
#include "core/Clock.h"
#include "ui/Window.h"
#include "ui/headless/HeadlessScreen.h"

#include <memory>
#include <string>

namespace vestrino::bench {

// The application launched headless on a virtual clock, past its splash, for timing what a
// person would see: frames at 60 a second on the software renderer.
class BenchApp {
public:
    BenchApp();

    // Logs the user in (as the login screen's worker would) and marks the session logged in.
    bool login(const std::string& user, const std::string& password);
    // One frame: the clock moves 1/60 s, then the main queue, timers, animations and painting.
    void frame();
    void frames(int n);
    // Waits (real time) until the background tasks have ended and their continuation waits on
    // the main queue, so that the next frame runs it.
    void waitForContinuation();
    // Frames until no background task runs and the main queue is empty.
    void idle();

    const std::shared_ptr<VestrinoAppDelegate>& delegate() const { return delegate_; }
    ui::Window& window() { return *window_; }
    TimePoint now() const { return clock_->now(); }

private:
    std::shared_ptr<VirtualClock> clock_;
    std::shared_ptr<VestrinoAppDelegate> delegate_;
    std::shared_ptr<ui::Window> window_;
    std::unique_ptr<ui::HeadlessScreen> screen_;
};

// Milliseconds since `start` on the steady clock.
double millisecondsSince(std::chrono::steady_clock::time_point start);
// The process's resident memory now, in MB.
double residentMegabytes();

} // namespace vestrino::bench
