#include "app/chrome/DataAgeBar.h"

#include "app/chrome/AppStyle.h"
#include "ui/Style.h"

namespace vestrino {

using namespace ui;

DataAgeBar::DataAgeBar(Rect frame)
    : View(frame), label_(std::make_shared<Label>(Rect{})),
      button_(std::make_shared<Button>(Rect{})) {
    setBackgroundColor(appstyle::kPageBackground);
    label_->setFont({"Helvetica", 11});
    label_->setTextColor(appstyle::kCellDetail);
    button_->setTitleFont({"HelveticaNeue-Bold", 11});
    button_->setTitleColor(style::kAccent, ControlState::Normal);
    button_->addTarget([this](Button&) {
        if (action_) {
            action_();
        }
    });
    button_->setHidden(true);
    // The names a script or a test finds them by.
    setName("ageBar");
    label_->setName("ageLabel");
    button_->setName("ageButton");
    addSubview(label_);
    addSubview(button_);
    setHidden(true);
}

void DataAgeBar::setText(const std::string& text) {
    label_->setText(text);
    setHidden(text.empty());
    layoutSubviews();
}

void DataAgeBar::setAction(const std::string& title, std::function<void()> action) {
    button_->setTitle(title, ControlState::Normal);
    button_->setAccessibilityLabel(title);
    button_->setHidden(title.empty());
    action_ = std::move(action);
    layoutSubviews();
}

void DataAgeBar::layoutSubviews() {
    const double w = frame().width();
    const double buttonWidth = button_->hidden() ? 0 : 72;
    label_->setFrame(makeRect(9, 0, w - 18 - buttonWidth, kHeight));
    button_->setFrame(makeRect(w - 9 - buttonWidth, 0, buttonWidth, kHeight));
}

} // namespace vestrino
