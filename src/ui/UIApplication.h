#pragma once

#include "ui/ScreenSize.h"
#include "ui/Window.h"

#include "core/Image.h"

#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace vestrino::ui {

// What an application gives the view layer: what to put in the window at launch, and what a
// headless snapshot should say of its screens.
class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(const std::shared_ptr<Window>& window) = 0;
    // The loop has ended (the window closed, the script ran out): let go of the screens, their
    // views and timers now, while everything they use still exists.
    virtual void applicationWillTerminate() {}
    // Keys added to every snapshot ("screens", "visible", "alert", "firstResponder").
    virtual nlohmann::ordered_json describeForSnapshot() {
        return nlohmann::ordered_json::object();
    }
};

struct LaunchOptions {
    bool headless = false;
    std::string script;            // headless: the script to run
    std::string out = "snapshots"; // headless: where snapshots go
    double scale = 1.0;
    // The phone screen in its points (--size): the window is laid out 320 points wide at the
    // height that leaves, and painted at its zoom times `scale` pixels a point.
    ScreenSize size;
    bool scaleAsked = false; // --scale given: else a window follows the desktop's scale
    // A window on a touch screen: a person types on an on-screen keyboard (the screens make room
    // for it). Headless mode stands for the phone and has one, unless `physicalKeyboard` says
    // it models a desktop.
    bool touch = false;
    bool physicalKeyboard = false;
    std::string title = "Vestrino";
    std::optional<Image> icon; // the window's icon, if the program has one
};

// Shows the window on a real screen and runs its loop until it closes; false, with the reason,
// when it cannot. The program picks the backend (the SDL one) and hands it to the launch call,
// so that the view layer depends on none.
using WindowHost = std::function<bool(const std::shared_ptr<Window>& window,
                                      const LaunchOptions& options, std::string& error)>;

// The launch call: makes the window, lets the delegate fill it, and runs the loop until the
// window closes (in `host`), or until the script ends, headless, on a virtual clock. The exit
// code: 0 done, 1 a failure (said on `err`), 2 a script that cannot be read.
int UIApplicationMain(const LaunchOptions& options, UIApplicationDelegate& delegate,
                      std::ostream& err, const WindowHost& host);

} // namespace vestrino::ui
