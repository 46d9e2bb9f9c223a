#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>
#include <vector>

namespace vestrino::ui {

class AlertView;

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewDidDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) {}
};

// A modal alert: title, message, a cancel button (index 0) and others (1, 2, …), a tag. While
// it is up, nothing under it takes a touch, a key or text. Dismissed by a button or by code ("as
// if button 0"), then it tells its delegate the index. Return answers its default button (the
// only button of a one-button alert, or the one set), Escape its cancel button; Tab moves
// between its buttons, and Space or Return press the one with the focus. There is room under the
// message for an extra view (a spinner, a field).
class AlertView : public View {
public:
    AlertView(std::string title, std::string message, AlertViewDelegate* delegate,
              std::optional<std::string> cancelButton, std::vector<std::string> otherButtons);

    void show(Window& window);
    void dismissWithClickedButtonIndex(int index);
    bool visible() const { return visible_; }
    // True when the alert was made with a cancel button (index 0), which Escape answers.
    bool hasCancelButton() const { return hasCancel_; }
    // The button Return answers: by default the only one of a one-button alert, none otherwise.
    std::optional<int> defaultButtonIndex() const { return defaultButton_; }
    void setDefaultButtonIndex(std::optional<int> index) { defaultButton_ = index; }
    // The button Escape answers: the cancel button when there is one, else the one set (an
    // alert of choices leaves the current one), else none.
    std::optional<int> escapeButtonIndex() const {
        return hasCancel_ ? std::optional<int>(0) : escapeButton_;
    }
    void setEscapeButtonIndex(std::optional<int> index) { escapeButton_ = index; }
    bool keyDown(KeyCommand key) override;

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const std::string& message() const { return message_; }
    void setMessage(std::string message);
    std::vector<std::string> buttonTitles() const;
    AlertViewDelegate* delegate() const { return delegate_; }
    void setDelegate(AlertViewDelegate* delegate) { delegate_ = delegate; }
    // The extra view, placed under the message.
    void setAccessoryView(std::shared_ptr<View> view);
    const std::shared_ptr<View>& accessoryView() const { return accessory_; }

    void layoutSubviews() override;
    std::string className() const override { return "AlertView"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::Alert; }
    std::string accessibleName() const override { return title_; }
    std::string accessibleDescription() const override { return message_; }
    AccessibleStates accessibleStates() const override;
    void describe(ViewDescription& node) const override;

private:
    std::string title_, message_;
    AlertViewDelegate* delegate_;
    std::shared_ptr<View> panel_;
    std::shared_ptr<Label> titleLabel_, messageLabel_;
    std::vector<std::shared_ptr<Button>> buttons_;
    std::shared_ptr<View> accessory_;
    bool visible_ = false;
    bool hasCancel_ = false;
    std::optional<int> defaultButton_;
    std::optional<int> escapeButton_;
};

} // namespace vestrino::ui
