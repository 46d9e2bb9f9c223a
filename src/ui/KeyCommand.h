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
    // Editing in a text field; Left and Right page a carousel when no field is edited.
    Left,
    Right,
    SelectLeft,  // Shift+Left: the selection grows or shrinks by a character
    SelectRight, // Shift+Right
    Home,
    End,
    SelectHome,    // Shift+Home
    SelectEnd,     // Shift+End
    DeleteForward, // Delete: the character after the caret, or the selection
    SelectAll,     // Ctrl+A
    Copy,          // Ctrl+C: the selection to the clipboard (never from a secure field)
    Cut,           // Ctrl+X: the same, and the selection deleted
};

// "return", "backspace", "tab", "shift+tab", "escape", "ctrl+v", "left", "right",
// "shift+left", "shift+right", "home", "end", "shift+home", "shift+end", "delete", "ctrl+a",
// "ctrl+c", "ctrl+x" (the headless script's names).
std::optional<KeyCommand> keyCommandNamed(std::string_view name);

} // namespace vestrino::ui
