#include "ui/KeyCommand.h"

#include <array>
#include <utility>

namespace vestrino::ui {

std::optional<KeyCommand> keyCommandNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, KeyCommand>, 6> kNames{{
        {"return", KeyCommand::Return},
        {"backspace", KeyCommand::Backspace},
        {"tab", KeyCommand::Tab},
        {"shift+tab", KeyCommand::BackTab},
        {"escape", KeyCommand::Escape},
        {"ctrl+v", KeyCommand::Paste},
    }};
    for (const auto& [n, command] : kNames) {
        if (n == name) {
            return command;
        }
    }
    return std::nullopt;
}

} // namespace vestrino::ui
