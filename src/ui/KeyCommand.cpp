#include "ui/KeyCommand.h"

#include <array>
#include <utility>

namespace vestrino::ui {

std::optional<KeyCommand> keyCommandNamed(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, KeyCommand>, 25> kNames{{
        {"return", KeyCommand::Return},
        {"space", KeyCommand::Space},
        {"backspace", KeyCommand::Backspace},
        {"tab", KeyCommand::Tab},
        {"shift+tab", KeyCommand::BackTab},
        {"escape", KeyCommand::Escape},
        {"ctrl+v", KeyCommand::Paste},
        {"left", KeyCommand::Left},
        {"right", KeyCommand::Right},
        {"up", KeyCommand::Up},
        {"down", KeyCommand::Down},
        {"pageup", KeyCommand::PageUp},
        {"pagedown", KeyCommand::PageDown},
        {"shift+left", KeyCommand::SelectLeft},
        {"shift+right", KeyCommand::SelectRight},
        {"home", KeyCommand::Home},
        {"end", KeyCommand::End},
        {"shift+home", KeyCommand::SelectHome},
        {"shift+end", KeyCommand::SelectEnd},
        {"delete", KeyCommand::DeleteForward},
        {"ctrl+a", KeyCommand::SelectAll},
        {"ctrl+c", KeyCommand::Copy},
        {"ctrl+x", KeyCommand::Cut},
        {"ctrl+z", KeyCommand::Undo},
        {"ctrl+shift+z", KeyCommand::Redo},
    }};
    for (const auto& [n, command] : kNames) {
        if (n == name) {
            return command;
        }
    }
    return std::nullopt;
}

} // namespace vestrino::ui
