#include "ui/headless/ScriptRunner.h"

#include "core/BackgroundTask.h"
#include "core/RunLoop.h"

#include <cmath>
#include <sstream>

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

bool ScriptRunner::runLine(const std::string& raw, std::string& error) {
    const std::string line = raw.substr(0, raw.find('#'));
    std::istringstream in(line);
    std::string command;
    if (!(in >> command)) {
        return true; // blank or comment
    }
    Window& window = *screen_.screen().window();
    auto numbers = [&](int count, std::vector<double>& out) {
        out.resize(static_cast<std::size_t>(count));
        for (auto& v : out) {
            if (!(in >> v)) {
                error = command + " wants " + std::to_string(count) + " numbers";
                return false;
            }
        }
        return true;
    };
    std::vector<double> n;
    if (command == "wait") {
        if (!numbers(1, n)) {
            return false;
        }
        frames(n[0]);
    } else if (command == "idle") {
        double limit = 10;
        in >> limit;
        // Real time: the background tasks run on threads of their own.
        const auto deadline = std::chrono::steady_clock::now() + seconds(limit);
        for (;;) {
            RunLoop::main().runOnce();
            screen_.tick(clock_->now());
            if (BackgroundTask::running() == 0 && RunLoop::main().queue().empty()) {
                break;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                error = "still busy after " + std::to_string(limit) + " s";
                return false;
            }
            RunLoop::main().queue().waitForWork(std::min(
                deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)));
        }
    } else if (command == "tap") {
        if (!numbers(2, n)) {
            return false;
        }
        window.touchDown({n[0], n[1]}, clock_->now());
        frame();
        window.touchUp({n[0], n[1]}, clock_->now());
        frame();
    } else if (command == "touch-down" || command == "touch-move" || command == "touch-up") {
        if (!numbers(2, n)) {
            return false;
        }
        const Point p{n[0], n[1]};
        if (command == "touch-down") {
            window.touchDown(p, clock_->now());
        } else if (command == "touch-move") {
            window.touchMove(p, clock_->now());
        } else {
            window.touchUp(p, clock_->now());
        }
        frame();
    } else if (command == "drag") {
        if (!numbers(5, n)) {
            return false;
        }
        window.touchDown({n[0], n[1]}, clock_->now());
        const long steps = std::max(1L, std::lround(n[4] / kFrame));
        for (long i = 1; i <= steps; ++i) {
            frame();
            const double t = static_cast<double>(i) / steps;
            window.touchMove({n[0] + (n[2] - n[0]) * t, n[1] + (n[3] - n[1]) * t}, clock_->now());
        }
        window.touchUp({n[2], n[3]}, clock_->now());
        frame();
    } else if (command == "type") {
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open == std::string::npos || close <= open) {
            error = "type wants a text in double quotes";
            return false;
        }
        if (hooks_.type) {
            hooks_.type(line.substr(open + 1, close - open - 1));
        }
        frame();
    } else if (command == "key") {
        std::string key;
        in >> key;
        if (key != "return" && key != "backspace" && key != "tab" && key != "escape") {
            error = "key wants return, backspace, tab or escape";
            return false;
        }
        if (hooks_.key) {
            hooks_.key(key);
        }
        frame();
    } else if (command == "snapshot") {
        std::string name;
        if (!(in >> name)) {
            error = "snapshot wants a name";
            return false;
        }
        nlohmann::ordered_json extra{{"time", std::round(elapsedSeconds() * 1000) / 1000}};
        if (hooks_.describe) {
            const auto described = hooks_.describe(); // kept alive for the loop
            for (const auto& [k, v] : described.items()) {
                extra[k] = v;
            }
        }
        if (!screen_.snapshot(out_, name, extra)) {
            error = "cannot write the snapshot into " + out_.string();
            return false;
        }
    } else {
        error = "unknown command \"" + command + "\"";
        return false;
    }
    return true;
}

} // namespace vestrino::ui
