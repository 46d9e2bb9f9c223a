#include "ui/AlertView.h"
#include "ui/Style.h"

#include "ui/Window.h"

#include <algorithm>

namespace vestrino::ui {

namespace {
constexpr double kPanelWidth = 284;
// Round corners like the application's buttons: the panel's, and pill-shaped buttons.
constexpr double kButtonHeight = 40;
// The panel stays this far inside the screen however long its message.
constexpr double kScreenMargin = 8;
} // namespace

AlertView::AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
                     std::optional<std::string> cancelButton, std::vector<std::string> otherButtons)
    : View(makeRect(0, 0, 320, 480)), title_(std::move(title)), message_(std::move(message)),
      delegate_(delegate) {
    setBackgroundColor(style::kDim); // the dimmed screen under the alert
    panel_ = std::make_shared<View>();
    panel_->setBackgroundColor(style::kAlertPanel);
    panel_->setCornerRadius(style::kPanelCornerRadius);
    addSubview(panel_);
    titleLabel_ = std::make_shared<Label>();
    titleLabel_->setFont({"HelveticaNeue-Bold", 17});
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setWrapsText(true);
    titleLabel_->setText(title_);
    messageLabel_ = std::make_shared<Label>();
    messageLabel_->setFont({"Helvetica", 14});
    messageLabel_->setTextAlignment(TextAlignment::Center);
    messageLabel_->setWrapsText(true);
    messageLabel_->setText(message_);
    panel_->addSubview(titleLabel_);
    panel_->addSubview(messageLabel_);
    std::vector<std::string> titles;
    if (cancelButton) {
        hasCancel_ = true;
        titles.push_back(*cancelButton);
    }
    titles.insert(titles.end(), otherButtons.begin(), otherButtons.end());
    for (std::size_t i = 0; i < titles.size(); ++i) {
        auto b = std::make_shared<Button>();
        b->setTitle(titles[i], ControlState::Normal);
        b->setTitleColor(style::kAlertButtonTitle, ControlState::Normal);
        b->setTitleColor(style::kAlertButtonTitleHighlighted, ControlState::Highlighted);
        b->setBackgroundColor(style::kAlertButton);
        b->setCornerRadius(kButtonHeight / 2);
        const int index = static_cast<int>(i);
        b->addTarget([this, index](Button&) { dismissWithClickedButtonIndex(index); });
        panel_->addSubview(b);
        buttons_.push_back(b);
    }
    if (buttons_.size() == 1) {
        defaultButton_ = 0;
    }
    layoutSubviews();
}

bool AlertView::keyDown(KeyCommand key) {
    if (!visible_) {
        return false;
    }
    if (key == KeyCommand::Return && defaultButton_ && *defaultButton_ >= 0 &&
        *defaultButton_ < static_cast<int>(buttons_.size())) {
        dismissWithClickedButtonIndex(*defaultButton_);
        return true;
    }
    if (const auto escape = escapeButtonIndex();
        key == KeyCommand::Escape && escape && *escape < static_cast<int>(buttons_.size())) {
        dismissWithClickedButtonIndex(*escape);
        return true;
    }
    return false;
}

void AlertView::setTitle(std::string title) {
    title_ = std::move(title);
    titleLabel_->setText(title_);
    layoutSubviews();
}

void AlertView::setMessage(std::string message) {
    message_ = std::move(message);
    messageLabel_->setText(message_);
    layoutSubviews();
}

std::vector<std::string> AlertView::buttonTitles() const {
    std::vector<std::string> titles;
    for (const auto& b : buttons_) {
        titles.push_back(b->currentTitle());
    }
    return titles;
}

void AlertView::setAccessoryView(std::shared_ptr<View> view) {
    if (accessory_) {
        accessory_->removeFromSuperview();
    }
    accessory_ = std::move(view);
    if (accessory_) {
        panel_->addSubview(accessory_);
    }
    layoutSubviews();
}

void AlertView::layoutSubviews() {
    // Title and message wrap between words at the panel's width and the panel grows to hold
    // every line: no text of an alert is ever cut. Only a message longer than the screen can
    // hold (some thirty lines, which only a service could send) is cut at its end, so that the
    // buttons always stay on the screen.
    const double textWidth = kPanelWidth - 24;
    const double titleHeight = std::max(22.0, titleLabel_->textHeight(textWidth));
    const double accessoryHeight = accessory_ ? accessory_->frame().height() + 10 : 0;
    const double buttonsHeight = buttons_.empty() ? 0 : kButtonHeight + 12;
    const double room = frame().height() - 2 * kScreenMargin -
                        (16 + titleHeight + 4 + 8 + accessoryHeight + buttonsHeight + 4);
    const double messageHeight =
        message_.empty()
            ? 0
            : std::max(20.0, std::min(messageLabel_->textHeight(textWidth), std::max(20.0, room)));
    double y = 16;
    titleLabel_->setFrame(makeRect(12, y, textWidth, titleHeight));
    y += titleHeight + 4;
    messageLabel_->setFrame(makeRect(12, y, textWidth, messageHeight));
    y += message_.empty() ? 0 : messageHeight + 8;
    if (accessory_) {
        const Rect a = accessory_->frame();
        accessory_->setFrame(makeRect((kPanelWidth - a.width()) / 2, y, a.width(), a.height()));
        y += accessoryHeight;
    }
    if (!buttons_.empty()) {
        const double w = (kPanelWidth - 24 - 8 * (buttons_.size() - 1)) / buttons_.size();
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            buttons_[i]->setFrame(makeRect(12 + i * (w + 8), y, w, kButtonHeight));
        }
        y += buttonsHeight;
    }
    const double h = y + 4;
    panel_->setFrame(makeRect((frame().width() - kPanelWidth) / 2,
                              std::max(kScreenMargin, (frame().height() - h) / 2), kPanelWidth, h));
}

void AlertView::show(Window& window) {
    setFrame(window.bounds());
    layoutSubviews();
    window.addSubview(shared_from_this());
    window.beginModal(this);
    visible_ = true;
}

void AlertView::dismissWithClickedButtonIndex(int index) {
    if (!visible_) {
        return;
    }
    visible_ = false;
    auto keep = shared_from_this(); // the delegate may drop its last reference
    if (Window* w = window()) {
        w->endModal(this);
    }
    removeFromSuperview();
    if (delegate_) {
        delegate_->alertViewDidDismissWithButtonIndex(*this, index);
    }
}

AccessibleStates AlertView::accessibleStates() const {
    AccessibleStates s = View::accessibleStates();
    s.modal = true; // nothing else takes a touch or a key while it is up
    return s;
}

void AlertView::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("title", title_);
    node.set("text", message_);
}

} // namespace vestrino::ui
