#pragma once

#include "ui/ActivityIndicatorView.h"
#include "ui/AlertView.h"

namespace vestrino {

// An alert that asks the user to wait: title, message, a running spinner under them and one
// button, "Annulla" (Escape too), with which the person leaves the wait.
class ActivityAlertView : public ui::AlertView {
public:
    ActivityAlertView(std::string title, std::string message, ui::AlertViewDelegate* delegate);

    const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const { return activity_; }

    std::string className() const override { return "ActivityAlertView"; }

private:
    std::shared_ptr<ui::ActivityIndicatorView> activity_;
};

} // namespace vestrino
