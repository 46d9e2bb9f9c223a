#include "app/chrome/ButtonStyle.h"

#include "app/chrome/AppStyle.h"
#include "ui/UIImage.h"

namespace vestrino {

using ui::Button;
using ui::ControlState;

namespace {

// The pill pictures stretch between round ends 20 points wide.
ui::UIImagePtr pill(const char* name) {
    const auto image = ui::UIImage::imageNamed(name);
    return image ? image->stretchableImage(20, 25) : nullptr;
}

ui::UIImagePtr outlined() {
    return pill("vestrino_button_filtro_320.png");
}

ui::UIImagePtr filled() {
    return pill("vestrino_button_selected_320.png");
}

} // namespace

void ButtonStyle::makePrimary(Button& button) {
    button.setBackgroundColor(ui::Color::clear());
    button.setBackgroundImage(filled(), ControlState::Normal);
    // Pressed, it turns to its outline: a change that shows under the finger.
    button.setBackgroundImage(outlined(), ControlState::Highlighted);
    button.setTitleColor(appstyle::kFilledPillTitle, ControlState::Normal);
    button.setTitleColor(appstyle::kOutlinedPillTitle, ControlState::Highlighted);
}

void ButtonStyle::makeOption(Button& button) {
    button.setBackgroundColor(ui::Color::clear());
    button.setBackgroundImage(outlined(), ControlState::Normal);
    button.setBackgroundImage(filled(), ControlState::Highlighted);
    button.setBackgroundImage(filled(), ControlState::Selected);
    button.setTitleColor(appstyle::kOutlinedPillTitle, ControlState::Normal);
    button.setTitleColor(appstyle::kFilledPillTitle, ControlState::Highlighted);
    button.setTitleColor(appstyle::kFilledPillTitle, ControlState::Selected);
}

} // namespace vestrino
