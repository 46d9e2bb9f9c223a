#pragma once

#include "ui/atspi/AccessibleObjects.h"
#include "ui/atspi/AtspiAdaptor.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vestrino::ui::atspi {

// Tells assistive technology what changed since it last looked, in the events a screen reader
// follows: the focus moving (the new view's "focused" state), a screen shown or gone (the
// window's children and its name, the screen's), an alert or a dialog coming up (its
// "showing" state, so that it is read out), a field's text, a control checked, selected,
// enabled or disabled.
class AtspiEvents {
public:
    AtspiEvents(AtspiAdaptor& adaptor, AccessibleObjects& objects);

    // Compares the window with what it was at the last call and sends what changed.
    void update();

private:
    void focusChanged(View* now);
    // A field's text against what it was (dots for a secure field).
    void textChanged(View& field, const std::string& was, const std::string& now);
    // Every view seen against what it was: its states, its name, its children.
    void treeChanged();

    AtspiAdaptor& adaptor_;
    AccessibleObjects& objects_;
    std::weak_ptr<View> focus_;
    std::weak_ptr<View> modal_;
    struct Seen {
        std::weak_ptr<View> view;
        std::array<std::uint32_t, 2> bits;
        std::string name;
        std::vector<View*> children;
        std::string text; // a field's
    };
    std::map<const View*, Seen> seen_;
    bool first_ = true;
};

} // namespace vestrino::ui::atspi
