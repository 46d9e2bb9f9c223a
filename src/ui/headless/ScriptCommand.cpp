#include "ui/headless/ScriptCommand.h"

#include "ui/KeyCommand.h"

#include <array>
#include <cmath>
#include <sstream>

namespace vestrino::ui {

namespace {

using Kind = ScriptCommand::Kind;

// What each command takes: its numbers, and which of them is a duration (-1: none).
struct Shape {
    std::string_view name;
    Kind kind;
    int numbers;
    int duration;
};

constexpr std::array<Shape, 13> kShapes{{
    {"wait", Kind::Wait, 1, 0},
    {"idle", Kind::Idle, 1, 0},
    {"sleep", Kind::Sleep, 1, 0},
    {"tap", Kind::Tap, 2, -1},
    {"touch-down", Kind::TouchDown, 2, -1},
    {"touch-move", Kind::TouchMove, 2, -1},
    {"touch-up", Kind::TouchUp, 2, -1},
    {"drag", Kind::Drag, 5, 4},
    {"wheel", Kind::Wheel, 4, -1},
    {"type", Kind::Type, 0, -1},
    {"key", Kind::Key, 0, -1},
    {"clipboard", Kind::Clipboard, 0, -1},
    {"snapshot", Kind::Snapshot, 0, -1},
}};

constexpr double kIdleDefaultSeconds = 10;

bool safeSnapshotName(std::string_view name) {
    if (name.empty() || name.size() > 100 || name.find("..") != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!plain) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<ScriptCommand> ScriptCommand::parse(std::string_view raw, std::string& error) {
    error.clear();
    const std::string line(raw.substr(0, raw.find('#')));
    std::istringstream in(line);
    std::string name;
    if (!(in >> name)) {
        return std::nullopt; // blank or comment
    }
    const Shape* shape = nullptr;
    for (const auto& s : kShapes) {
        if (s.name == name) {
            shape = &s;
        }
    }
    if (!shape) {
        error = "unknown command \"" + name + "\"";
        return std::nullopt;
    }
    ScriptCommand command;
    command.kind = shape->kind;
    // "tap @name": the control of that outlet name, wherever the layout puts it.
    if (shape->kind == Kind::Tap) {
        std::string target;
        const auto at = in.tellg();
        if ((in >> target) && target.starts_with('@')) {
            command.text = target.substr(1);
            std::string extra;
            if (command.text.empty() || (in >> extra)) {
                error = "tap wants X Y or @name";
                return std::nullopt;
            }
            return command;
        }
        in.clear();
        in.seekg(at);
    }
    command.numbers.resize(static_cast<std::size_t>(shape->numbers));
    for (std::size_t i = 0; i < command.numbers.size(); ++i) {
        auto& v = command.numbers[i];
        if (!(in >> v)) {
            if (shape->kind == Kind::Idle && in.eof()) {
                v = kIdleDefaultSeconds; // idle without a limit
                break;
            }
            error = name + " wants " + std::to_string(shape->numbers) + " numbers";
            return std::nullopt;
        }
        const bool duration = static_cast<int>(i) == shape->duration;
        if (duration && !(v >= 0 && v <= kLongestSeconds)) {
            error = name + ": a duration from 0 to " +
                    std::to_string(static_cast<int>(kLongestSeconds)) + " seconds, not " +
                    std::to_string(v);
            return std::nullopt;
        }
        if (!duration && !(std::abs(v) <= kFarthestPoint)) {
            error = name + ": a coordinate within ±" +
                    std::to_string(static_cast<int>(kFarthestPoint)) + ", not " + std::to_string(v);
            return std::nullopt;
        }
    }
    switch (shape->kind) {
    case Kind::Type:
    case Kind::Clipboard: {
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open == std::string::npos || close <= open) {
            error = name + " wants a text in double quotes";
            return std::nullopt;
        }
        command.text = line.substr(open + 1, close - open - 1);
        break;
    }
    case Kind::Key:
        in >> command.text;
        if (!keyCommandNamed(command.text)) {
            error = "key wants a key's name (return, space, tab, shift+tab, escape, up, pagedown, "
                    "ctrl+v, ctrl+z, ...), not \"" +
                    command.text + "\"";
            return std::nullopt;
        }
        break;
    case Kind::Snapshot:
        if (!(in >> command.text)) {
            error = "snapshot wants a name";
            return std::nullopt;
        }
        if (!safeSnapshotName(command.text)) {
            error = "snapshot: \"" + command.text +
                    "\" is no plain file name (letters, digits, -, _ and . but not ..)";
            return std::nullopt;
        }
        break;
    default:
        break;
    }
    return command;
}

} // namespace vestrino::ui
