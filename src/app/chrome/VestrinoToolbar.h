#pragma once

#include "app/chrome/VestrinoToolbarDelegate.h"
#include "ui/Button.h"
#include "ui/ImageView.h"

#include <array>

namespace vestrino {

// The bottom bar: its background picture and, while a user is logged in, the cards, logout and
// information buttons, the current section's selected. It asks the visible screen (its
// delegate) what to show and tells it what was touched.
class VestrinoToolbar : public ui::View {
public:
    VestrinoToolbar();

    VestrinoToolbarDelegate* mdelegate() const { return mdelegate_; }
    void setMdelegate(VestrinoToolbarDelegate* delegate) { mdelegate_ = delegate; }

    const std::shared_ptr<ui::ImageView>& imgvContainer();
    // The three buttons while logged in (adding them to the bar), none otherwise (taking
    // them away); the same three objects across logins.
    std::vector<std::shared_ptr<ui::Button>> buttons();
    void refreshButtons();

    void button1();
    void button2();
    void button3();

    std::string className() const override { return "VestrinoToolbar"; }
    ui::AccessibleRole defaultAccessibleRole() const override {
        return ui::AccessibleRole::ToolBar;
    }

private:
    VestrinoToolbarDelegate* mdelegate_ = nullptr;
    std::shared_ptr<ui::ImageView> container_;
    std::vector<std::shared_ptr<ui::Button>> buttons_;
};

} // namespace vestrino
