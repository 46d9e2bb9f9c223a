#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vestrino::ui {

class Window;

// Where a window's points are on the screen: its top-left corner in pixels and the pixels a
// point (what assistive technology is told of a view's bounds).
struct ScreenPlacement {
    int x = 0;
    int y = 0;
    double scale = 1;
};

// A window served to assistive technology (a screen reader) for as long as the object lives.
// The service itself (AT-SPI over D-Bus) is a module of its own, loaded only when the desktop
// may have someone listening, so that a start without it loads none of its libraries.
class AssistiveTechnology {
public:
    virtual ~AssistiveTechnology() = default;

    // What the module hands out: starts serving the window, or nothing (not a word) when the
    // desktop has no accessibility bus switched on. `wake` may be called from any thread when
    // a call has come in: it makes the run loop turn at once (instead of at its next timer),
    // so that a screen reader's questions are answered as they come.
    using Start = std::unique_ptr<AssistiveTechnology> (*)(
        std::shared_ptr<Window> window, std::string appName,
        std::function<ScreenPlacement()> placement, std::function<void()> wake);
    // The module's file name and the C name of its entry, which returns its Start.
    static constexpr const char* kModuleFile = "vestrino-atspi.so";
    static constexpr const char* kEntry = "vestrino_assistive_technology";
};

} // namespace vestrino::ui
