#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vestrino::ui {

// How assistive technology (a screen reader, a switch device) sees a view: what kind of thing
// it is, what it is called, the states it is in and what can be done with it. The roles are
// those a desktop's accessibility bus knows; None marks a view that only lays others out and
// is left out of what assistive technology sees (its children take its place).
enum class AccessibleRole {
    None,
    Frame,
    PushButton,
    ToggleButton,
    Switch,
    Entry,
    PasswordText,
    Label,
    Image,
    List,
    ListItem,
    ScrollPane,
    PageTabList,
    PageTab,
    Dialog,
    Alert,
    ToolBar,
};

// The role's name as the accessibility bus spells it ("push button", "password text").
std::string_view accessibleRoleName(AccessibleRole role);

struct AccessibleStates {
    bool enabled = true;
    bool focusable = false;
    bool focused = false;
    bool visible = true; // not hidden and not transparent, its ancestors too
    bool showing = true; // visible and inside the window
    bool checkable = false;
    bool checked = false; // a switch on, a toggle pressed
    bool selected = false;
    bool editable = false;
    bool modal = false;

    // The names of the states that hold, in the order above ("enabled", "focusable", …).
    std::vector<std::string> names() const;
};

} // namespace vestrino::ui
