#include "ui/headless/ScriptRunner.h"

#include "core/BackgroundTask.h"
#include "core/RunLoop.h"

#include <cmath>

namespace vestrino::ui {

namespace {
constexpr double kFrame = 1.0 / 60;
}

ScriptRunner::ScriptRunner(HeadlessScreen& screen, std::shared_ptr<VirtualClock> clock,
                           std::filesystem::path out, Hooks hooks)
    : screen_(screen), clock_(std::move(clock)), out_(std::move(out)), hooks_(std::move(hooks)),
      start_(clock_->now()) {}

double ScriptRunner::elapsedSeconds() const {
    return std::chrono::duration<double>(clock_->now() - start_).count();
}

namespace {

// The front-most view of that name that shows (it and its ancestors not hidden nor
// transparent), with its middle inside the window and every clipping ancestor.
std::optional<Point> findShown(const View& view, const std::string& name, const Rect& visible) {
    if (view.hidden() || view.alpha() <= 0) {
        return std::nullopt;
    }
    const Rect frame = view.windowFrame();
    const Rect inside = view.clipsToBounds() ? visible.intersection(frame) : visible;
    const auto& children = view.subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (const auto p = findShown(**it, name, inside)) {
            return p;
        }
    }
    if (view.name() == name) {
        const Point middle{frame.minX() + frame.width() / 2, frame.minY() + frame.height() / 2};
        if (visible.contains(middle)) {
            return middle;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Point> ScriptRunner::centreOfShownView(const Window& window,
                                                     const std::string& name) {
    return findShown(window, name, window.bounds());
}

void ScriptRunner::frame() {
    clock_->advance(seconds(kFrame));
    screen_.tick(clock_->now());
}

void ScriptRunner::frames(double s) {
    const long n = std::lround(s / kFrame);
    for (long i = 0; i < n; ++i) {
        frame();
    }
}

bool ScriptRunner::run(std::istream& script, std::string& error) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        std::string why;
        if (!runLine(line, why)) {
            error = "line " + std::to_string(number) + " (\"" + line + "\"): " + why;
            return false;
        }
    }
    return true;
}

bool ScriptRunner::runLine(const std::string& line, std::string& error) {
    const auto command = ScriptCommand::parse(line, error);
    if (!command) {
        return error.empty(); // a blank or comment line runs as nothing
    }
    run(*command, error);
    return error.empty();
}

void ScriptRunner::run(const ScriptCommand& command, std::string& error) {
    using Kind = ScriptCommand::Kind;
    Window& window = *screen_.screen().window();
    const auto& n = command.numbers;
    switch (command.kind) {
    case Kind::Wait:
        frames(n[0]);
        return;
    case Kind::Idle:
        idle(n[0], error);
        return;
    case Kind::Sleep:
        sleep(n[0]);
        return;
    case Kind::Tap:
        tap(command, error);
        return;
    case Kind::TouchDown:
        window.touchDown({n[0], n[1]}, clock_->now());
        break;
    case Kind::TouchMove:
        window.touchMove({n[0], n[1]}, clock_->now());
        break;
    case Kind::TouchUp:
        window.touchUp({n[0], n[1]}, clock_->now());
        break;
    case Kind::Drag:
        drag(n);
        return;
    case Kind::Wheel:
        window.scrollWheel({n[0], n[1]}, {n[2], n[3]});
        break;
    case Kind::Type:
        window.insertText(command.text);
        break;
    case Kind::Key:
        if (const auto key = keyCommandNamed(command.text)) {
            window.keyCommand(*key);
        }
        break;
    case Kind::Clipboard:
        if (window.clipboard()) {
            window.clipboard()->setText(command.text);
        }
        break;
    case Kind::Snapshot:
        snapshot(command.text, error);
        return;
    }
    frame();
}

void ScriptRunner::idle(double limit, std::string& error) {
    // Real time: the background tasks run on threads of their own.
    const auto deadline = std::chrono::steady_clock::now() + seconds(limit);
    for (;;) {
        RunLoop::main().runOnce();
        screen_.tick(clock_->now());
        if (BackgroundTask::running() == 0 && RunLoop::main().queue().empty()) {
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "still busy after " + std::to_string(limit) + " s";
            return;
        }
        RunLoop::main().queue().waitForWork(
            std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)));
    }
}

void ScriptRunner::sleep(double length) {
    // What other threads hand the main queue is handled (the desktop's settings changing, say)
    // while the virtual clock stands still.
    const auto deadline = std::chrono::steady_clock::now() + seconds(length);
    while (std::chrono::steady_clock::now() < deadline) {
        RunLoop::main().runOnce();
        screen_.tick(clock_->now());
        RunLoop::main().queue().waitForWork(
            std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)));
    }
}

void ScriptRunner::tap(const ScriptCommand& command, std::string& error) {
    Window& window = *screen_.screen().window();
    const auto& n = command.numbers;
    Point at{n.size() == 2 ? n[0] : 0, n.size() == 2 ? n[1] : 0};
    if (!command.text.empty()) {
        const auto found = centreOfShownView(window, command.text);
        if (!found) {
            error = "no view named \"" + command.text + "\" shows on the screen";
            return;
        }
        at = *found;
    }
    window.touchDown(at, clock_->now());
    frame();
    window.touchUp(at, clock_->now());
    frame();
}

void ScriptRunner::drag(const std::vector<double>& n) {
    Window& window = *screen_.screen().window();
    window.touchDown({n[0], n[1]}, clock_->now());
    const long steps = std::max(1L, std::lround(n[4] / kFrame));
    for (long i = 1; i <= steps; ++i) {
        frame();
        const double t = static_cast<double>(i) / steps;
        window.touchMove({n[0] + (n[2] - n[0]) * t, n[1] + (n[3] - n[1]) * t}, clock_->now());
    }
    window.touchUp({n[2], n[3]}, clock_->now());
    frame();
}

void ScriptRunner::snapshot(const std::string& name, std::string& error) {
    nlohmann::ordered_json extra{{"time", std::round(elapsedSeconds() * 1000) / 1000}};
    if (hooks_.describe) {
        const auto described = hooks_.describe(); // kept alive for the loop
        for (const auto& [k, v] : described.items()) {
            extra[k] = v;
        }
    }
    if (!screen_.snapshot(out_, name, extra)) {
        error = "cannot write the snapshot into " + out_.string();
    }
}

} // namespace vestrino::ui
