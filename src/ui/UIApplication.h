#pragma once

#include "ui/Window.h"

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>

namespace vestrino::ui {

// What an application gives the view layer: what to put in the window at launch, and what a
// headless snapshot should say of its screens.
class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching(const std::shared_ptr<Window>& window) = 0;
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
    std::string title = "Vestrino";
};

// The launch call: makes the window, lets the delegate fill it, and runs the loop until the
// window closes (or the script ends, headless, on a virtual clock). The exit code: 0 done,
// 1 a failure (said on `err`), 2 a script that cannot be read.
int UIApplicationMain(const LaunchOptions& options, UIApplicationDelegate& delegate,
                      std::ostream& err);

} // namespace vestrino::ui
