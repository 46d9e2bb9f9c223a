#pragma once

#include "ui/ActivityIndicatorView.h"
#include "ui/AlertView.h"

namespace vestrino {

// An alert that asks the user to wait: title, message, a running spinner at (125, 80), no
// buttons; only the code closes it.
class ActivityAlertView : public ui::AlertView {
public:
    ActivityAlertView(std::string title, std::string message, ui::AlertViewDelegate* delegate);

    const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const { return activity_; }
    // Dismissed as if its first button had been chosen.
    void close() { dismissWithClickedButtonIndex(0); }

    std::string className() const override { return "ActivityAlertView"; }

private:
    std::shared_ptr<ui::ActivityIndicatorView> activity_;
};

} // namespace vestrino
