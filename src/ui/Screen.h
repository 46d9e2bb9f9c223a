#pragma once

#include "core/Clock.h"
#include "ui/Canvas.h"
#include "ui/Window.h"

#include <functional>
#include <memory>

namespace vestrino::ui {

// One frame of the user interface, the same for the window and the headless driver: the main
// queue and timers, then animations and scroll physics, then painting if anything changed.
class Screen {
public:
    explicit Screen(std::shared_ptr<Window> window);

    const std::shared_ptr<Window>& window() const { return window_; }

    // True while something still moves (the caller keeps ticking at frame rate; otherwise it
    // may sleep until the next timer or event).
    bool tick(TimePoint now, Canvas* canvas);
    // Frames painted so far (a tick with nothing new paints nothing).
    std::size_t framesPainted() const { return painted_; }

private:
    std::shared_ptr<Window> window_;
    std::size_t painted_ = 0;
};

} // namespace vestrino::ui
