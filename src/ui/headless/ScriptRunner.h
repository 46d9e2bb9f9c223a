#pragma once

#include "core/Clock.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptCommand.h"

#include <filesystem>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

// Runs a headless script, one command a line (# comments) on the run loop's virtual clock:
// wait S, idle [S], tap X Y, touch-down X Y, touch-move X Y, touch-up X Y, drag X1 Y1 X2 Y2 S,
// type "TEXT", key return|backspace|tab|shift+tab|escape|ctrl+v, clipboard "TEXT",
// snapshot NAME. Text and keys go to the window as a keyboard's would; snapshots go to the out
// folder.
// Each line is read and checked whole (ScriptCommand) before it runs; an error names the line.
class ScriptRunner {
public:
    // What the application adds to a snapshot ("screens", "visible", "alert", ...).
    struct Hooks {
        std::function<nlohmann::ordered_json()> describe;
    };

    ScriptRunner(HeadlessScreen& screen, std::shared_ptr<VirtualClock> clock,
                 std::filesystem::path out, Hooks hooks = {});

    // False, with the line and the reason in `error`, at the first command that fails.
    bool run(std::istream& script, std::string& error);
    bool runLine(const std::string& line, std::string& error);

    double elapsedSeconds() const;

    // Where `tap @name` touches: the middle of the front-most view of that name that shows.
    static std::optional<Point> centreOfShownView(const Window& window, const std::string& name);

private:
    void run(const ScriptCommand& command, std::string& error);
    // Real time until the background tasks are done and the main queue is empty.
    void idle(double seconds, std::string& error);
    // Real time in which other threads' work is handled, the virtual clock standing still.
    void sleep(double seconds);
    void tap(const ScriptCommand& command, std::string& error);
    void drag(const std::vector<double>& n);
    void snapshot(const std::string& name, std::string& error);
    void frames(double seconds);
    void frame();

    HeadlessScreen& screen_;
    std::shared_ptr<VirtualClock> clock_;
    std::filesystem::path out_;
    Hooks hooks_;
    TimePoint start_;
};

} // namespace vestrino::ui
