#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino::ui {

// One line of a headless script, read and checked before anything runs: the command, its
// numbers and its text. Reading never trusts the line: durations are finite and at most
// kLongestSeconds (a script never stalls a test run for hours), points are finite and near the
// screen, snapshot names are plain file names (letters, digits, "-", "_", "." but never "..")
// so that a snapshot stays inside the out folder.
struct ScriptCommand {
    enum class Kind {
        Wait,
        Idle,
        Sleep,
        Tap,
        TouchDown,
        TouchMove,
        TouchUp,
        Drag,
        Wheel,
        Type,
        Key,
        Clipboard,
        Snapshot
    };

    static constexpr double kLongestSeconds = 600;
    static constexpr double kFarthestPoint = 10000;

    Kind kind = Kind::Wait;
    std::vector<double> numbers; // wait S; idle S; sleep S; tap X Y; drag X1 Y1 X2 Y2 S; wheel X Y
                                 // DX DY (the content moves DX, DY points); ...
    std::string text; // type, clipboard: the text; key: the key; snapshot: the name; tap @name:
                      // the view's name (and no numbers)

    // The command on the line; nothing, with `error` empty, for a blank or comment line;
    // nothing, with the reason in `error`, for a line that is no valid command.
    static std::optional<ScriptCommand> parse(std::string_view line, std::string& error);
};

} // namespace vestrino::ui
