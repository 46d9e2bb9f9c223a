#pragma once

#include "core/Clock.h"
#include "core/RunLoop.h"
#include "ui/Animator.h"
#include "ui/ScrollView.h"

#include <memory>

namespace vestrino::test {

// A virtual clock for the main run loop, and frames at 60 per second: time moves only when a
// test says so, so animations and scrolling are the same on every run.
class UiClock {
public:
    UiClock() : clock_(std::make_shared<VirtualClock>()) {
        RunLoop::main().adoptCurrentThread();
        RunLoop::main().reset();
        RunLoop::main().setClock(clock_);
        ui::Animator::shared().reset();
    }
    ~UiClock() { RunLoop::main().setClock(std::make_shared<RealClock>()); }
    TimePoint now() const { return clock_->now(); }
    // Advances by `s` seconds in frames of 1/60 s, firing timers, ticking animations and
    // scroll views.
    void run(double s) {
        const int frames = static_cast<int>(s * 60 + 0.5);
        for (int i = 0; i < frames; ++i) {
            clock_->advance(seconds(1.0 / 60));
            RunLoop::main().runOnce();
            ui::Animator::shared().tick(clock_->now());
            ui::ScrollView::tickAll(clock_->now());
        }
    }
    void advance(double s) { clock_->advance(seconds(s)); }

private:
    std::shared_ptr<VirtualClock> clock_;
};

} // namespace vestrino::test
