#include "ui/Accessible.h"

namespace vestrino::ui {

std::string_view accessibleRoleName(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::None:
        return "";
    case AccessibleRole::Frame:
        return "frame";
    case AccessibleRole::PushButton:
        return "push button";
    case AccessibleRole::ToggleButton:
        return "toggle button";
    case AccessibleRole::Switch:
        return "switch";
    case AccessibleRole::Entry:
        return "entry";
    case AccessibleRole::PasswordText:
        return "password text";
    case AccessibleRole::Label:
        return "label";
    case AccessibleRole::Image:
        return "image";
    case AccessibleRole::List:
        return "list";
    case AccessibleRole::ListItem:
        return "list item";
    case AccessibleRole::ScrollPane:
        return "scroll pane";
    case AccessibleRole::PageTabList:
        return "page tab list";
    case AccessibleRole::PageTab:
        return "page tab";
    case AccessibleRole::Dialog:
        return "dialog";
    case AccessibleRole::Alert:
        return "alert";
    case AccessibleRole::ToolBar:
        return "tool bar";
    }
    return "";
}

std::vector<std::string> AccessibleStates::names() const {
    std::vector<std::string> out;
    const std::pair<bool, const char*> all[] = {
        {enabled, "enabled"}, {focusable, "focusable"}, {focused, "focused"},
        {visible, "visible"}, {showing, "showing"},     {checkable, "checkable"},
        {checked, "checked"}, {selected, "selected"},   {editable, "editable"},
        {modal, "modal"},
    };
    for (const auto& [on, name] : all) {
        if (on) {
            out.emplace_back(name);
        }
    }
    return out;
}

} // namespace vestrino::ui
