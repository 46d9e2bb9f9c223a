// libFuzzer target over the headless script reader: every line reads without harm, and what
// reads as a command stays within its bounds (durations, points, snapshot names that cannot
// leave the out folder).
#include "ui/headless/ScriptCommand.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using vestrino::ui::ScriptCommand;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view script(reinterpret_cast<const char*>(data), size);
    while (!script.empty()) {
        const auto end = script.find('\n');
        const auto line = script.substr(0, end);
        script = end == std::string_view::npos ? std::string_view() : script.substr(end + 1);
        std::string error;
        const auto command = ScriptCommand::parse(line, error);
        if (!command) {
            continue;
        }
        if (!error.empty()) {
            __builtin_trap(); // a command is never also an error
        }
        for (const double v : command->numbers) {
            if (!std::isfinite(v) || std::abs(v) > ScriptCommand::kFarthestPoint) {
                __builtin_trap();
            }
        }
        if (command->kind == ScriptCommand::Kind::Snapshot &&
            (command->text.find('/') != std::string::npos ||
             command->text.find("..") != std::string::npos || command->text.empty())) {
            __builtin_trap();
        }
    }
    return 0;
}
