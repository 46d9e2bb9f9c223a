#pragma once

#include "core/Clock.h"
#include "ui/KeyCommand.h"
#include "ui/Window.h"

#include <SDL2/SDL_events.h>
#include <memory>
#include <optional>

namespace vestrino::ui {

// Turns SDL's events into the window's input: the left mouse button or one finger as the touch
// (a second finger is ignored while the first is down; the mouse events SDL makes up for a
// finger are skipped, so a tap is handled once), the wheel over the point under the pointer,
// typed text, and keys as key commands. Coordinates are divided by the scale (pixels a point).
class SdlEventRouter {
public:
    // What an event asks of the loop.
    enum class Outcome { None, Repaint, Quit };

    SdlEventRouter(std::shared_ptr<Window> window, double scale);

    Outcome handle(const SDL_Event& event, TimePoint now);

    // The window's command for a key press, if it is one (Tab, Shift+Tab, Escape, Ctrl+V, ...).
    static std::optional<KeyCommand> keyCommandFor(const SDL_Keysym& key);
    // How far one notch of a mouse wheel moves content, in points.
    static constexpr double kWheelNotch = 40;

private:
    Point toPoint(int x, int y) const { return {x / scale_, y / scale_}; }
    // A finger's place: SDL gives it as a fraction of the window.
    Point fingerPoint(float x, float y) const;

    std::shared_ptr<Window> window_;
    double scale_;
    std::optional<SDL_FingerID> finger_; // the finger that is the touch now
    Point pointer_;                      // where the mouse is, for the wheel
};

} // namespace vestrino::ui
