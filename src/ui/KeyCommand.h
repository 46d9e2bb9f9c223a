#pragma once

#include <optional>
#include <string_view>

namespace vestrino::ui {

// The keys the window acts on, whatever the backend calls them. Characters arrive as text, not
// as key commands.
enum class KeyCommand {
    Return,    // the field's return (its delegate decides)
    Backspace, // deletes the character before the caret
    Tab,       // the next text field of the screen
    BackTab,   // Shift+Tab: the previous one
    Escape,    // answers an open alert with its cancel button
    Paste,     // Ctrl+V: the clipboard's first line into the field
};

// "return", "backspace", "tab", "shift+tab", "escape", "ctrl+v" (the headless script's names).
std::optional<KeyCommand> keyCommandNamed(std::string_view name);

} // namespace vestrino::ui
