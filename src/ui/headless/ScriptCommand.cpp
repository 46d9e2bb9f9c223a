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

const Shape* shapeNamed(std::string_view name) {
    for (const auto& s : kShapes) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

// "tap @name": the control of that outlet name, wherever the layout puts it. True when the
// line is one (the name in `command.text`, or the reason in `error`); false, with the stream
// where it was, for "tap X Y".
bool readTapTarget(std::istringstream& in, ScriptCommand& command, std::string& error) {
    std::string target;
    const auto at = in.tellg();
    if ((in >> target) && target.starts_with('@')) {
        command.text = target.substr(1);
        std::string extra;
        if (command.text.empty() || (in >> extra)) {
            error = "tap wants X Y or @name";
        }
        return true;
    }
    in.clear();
    in.seekg(at);
    return false;
}

bool readNumbers(std::istringstream& in, const Shape& shape, ScriptCommand& command,
                 std::string& error) {
    const std::string name(shape.name);
    command.numbers.resize(static_cast<std::size_t>(shape.numbers));
    for (std::size_t i = 0; i < command.numbers.size(); ++i) {
        auto& v = command.numbers[i];
        if (!(in >> v)) {
            if (shape.kind == Kind::Idle && in.eof()) {
                v = kIdleDefaultSeconds; // idle without a limit
                return true;
            }
            error = name + " wants " + std::to_string(shape.numbers) + " numbers";
            return false;
        }
        const bool duration = static_cast<int>(i) == shape.duration;
        if (duration && !(v >= 0 && v <= ScriptCommand::kLongestSeconds)) {
            error = name + ": a duration from 0 to " +
                    std::to_string(static_cast<int>(ScriptCommand::kLongestSeconds)) +
                    " seconds, not " + std::to_string(v);
            return false;
        }
        if (!duration && !(std::abs(v) <= ScriptCommand::kFarthestPoint)) {
            error = name + ": a coordinate within ±" +
                    std::to_string(static_cast<int>(ScriptCommand::kFarthestPoint)) + ", not " +
                    std::to_string(v);
            return false;
        }
    }
    return true;
}

// The text of type, clipboard, key and snapshot.
bool readText(const std::string& line, std::istringstream& in, const Shape& shape,
              ScriptCommand& command, std::string& error) {
    const std::string name(shape.name);
    switch (shape.kind) {
    case Kind::Type:
    case Kind::Clipboard: {
        const auto open = line.find('"');
        const auto close = line.rfind('"');
        if (open == std::string::npos || close <= open) {
            error = name + " wants a text in double quotes";
            return false;
        }
        command.text = line.substr(open + 1, close - open - 1);
        return true;
    }
    case Kind::Key:
        in >> command.text;
        if (!keyCommandNamed(command.text)) {
            error = "key wants a key's name (return, space, tab, shift+tab, escape, up, pagedown, "
                    "ctrl+v, ctrl+z, ...), not \"" +
                    command.text + "\"";
            return false;
        }
        return true;
    case Kind::Snapshot:
        if (!(in >> command.text)) {
            error = "snapshot wants a name";
            return false;
        }
        if (!safeSnapshotName(command.text)) {
            error = "snapshot: \"" + command.text +
                    "\" is no plain file name (letters, digits, -, _ and . but not ..)";
            return false;
        }
        return true;
    default:
        return true;
    }
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
    const Shape* shape = shapeNamed(name);
    if (!shape) {
        error = "unknown command \"" + name + "\"";
        return std::nullopt;
    }
    ScriptCommand command;
    command.kind = shape->kind;
    if (shape->kind == Kind::Tap && readTapTarget(in, command, error)) {
        return error.empty() ? std::optional(command) : std::nullopt;
    }
    if (!readNumbers(in, *shape, command, error) || !readText(line, in, *shape, command, error)) {
        return std::nullopt;
    }
    return command;
}

} // namespace vestrino::ui
