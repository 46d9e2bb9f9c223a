#pragma once

#include "core/Clock.h"
#include "core/RunLoop.h"
#include "core/Utf8.h"
#include "ui/Animator.h"
#include "ui/ScrollView.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// The words of a case's steps: "home shift+end =X" → {"home", "shift+end", "=X"}.
inline std::vector<std::string> words(std::string_view steps) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < steps.size();) {
        const std::size_t end = std::min(steps.find(' ', at), steps.size());
        if (end > at) {
            out.emplace_back(steps.substr(at, end - at));
        }
        at = end + 1;
    }
    return out;
}

// Text with its caret and selection drawn in, so that an editing case reads in one string:
// "ab|cd" is the caret after "ab"; "a[bc|]d" is "bc" selected with the caret at its end,
// "a[|bc]d" the same with the caret at its start. Positions are in code points.
inline std::string marked(std::string_view text, std::size_t caret, std::size_t selectionStart,
                          std::size_t selectionLength) {
    const auto at = [&](std::size_t i) { return byteOffsetOfCodePoint(text, i); };
    std::string out(text);
    if (selectionLength == 0) {
        return out.insert(at(caret), "|");
    }
    const std::size_t end = selectionStart + selectionLength;
    out.insert(at(end), caret == end ? "|]" : "]");
    out.insert(at(selectionStart), caret == end ? "[" : "[|");
    return out;
}

} // namespace vestrino::test
