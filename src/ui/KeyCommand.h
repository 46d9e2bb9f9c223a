#pragma once

#include <optional>
#include <string_view>

namespace vestrino::ui {

// The keys the window hands along the responder chain, whatever the backend calls them.
// Characters arrive as text, not as key commands.
enum class KeyCommand {
    Return,    // the field's return (its delegate decides); presses a focused control
    Space,     // presses a focused control (in a field the space arrives as text)
    Backspace, // deletes the character before the caret
    Tab,       // the next text field of the screen
    BackTab,   // Shift+Tab: the previous one
    Escape,    // answers an alert's cancel button, closes a dialog, or goes back
    Paste,     // Ctrl+V: the clipboard's first line into the field
    // Editing in a text field; Left and Right page a carousel when no field is edited.
    Left,
    Right,
    // Scrolling the focused list or page (or the one on screen); Up and Down move a list's row.
    Up,
    Down,
    PageUp,
    PageDown,
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
    Undo,          // Ctrl+Z: the last edit of the field undone
    Redo,          // Ctrl+Shift+Z (or Ctrl+Y): done again
};

// "return", "space", "backspace", "tab", "shift+tab", "escape", "ctrl+v", "left", "right",
// "up", "down", "pageup", "pagedown", "shift+left", "shift+right", "home", "end", "shift+home",
// "shift+end", "delete", "ctrl+a", "ctrl+c", "ctrl+x", "ctrl+z", "ctrl+shift+z" (the headless
// script's names).
std::optional<KeyCommand> keyCommandNamed(std::string_view name);

} // namespace vestrino::ui
