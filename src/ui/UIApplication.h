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

// Runs the window's loop: on a real screen (the SDL host) or headless on a script (the
// headless host). The program picks one and hands it to the launch call, so that the view
// layer depends on neither.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Before the delegate fills the window (a headless host reads its script and puts its
    // virtual clock in place): false, with the exit code set and the reason on `err`, when the
    // host cannot run.
    virtual bool prepare(const LaunchOptions&, std::ostream&, int&) { return true; }
    // Until the window closes or the script ends: 0, or 1 with the reason on `err`.
    virtual int run(const std::shared_ptr<Window>& window, const LaunchOptions& options,
                    UIApplicationDelegate& delegate, std::ostream& err) = 0;
};

// The launch call: makes the window, lets the host prepare, lets the delegate fill the window,
// runs the host's loop, then takes everything down in one order. The exit code: 0 done, 1 a
// failure (said on `err`), 2 a script that cannot be read.
int UIApplicationMain(const LaunchOptions& options, UIApplicationDelegate& delegate,
                      std::ostream& err, WindowHost& host);

} // namespace vestrino::ui
