#include "app/chrome/ActivityAlertView.h"
#include "app/chrome/AppStyle.h"
#include "core/Translation.h"

namespace vestrino {

ActivityAlertView::ActivityAlertView(std::string title, std::string message,
                                     ui::AlertViewDelegate* delegate)
    : AlertView(std::move(title), std::move(message), delegate, std::string(tr("Annulla")), {}),
      activity_(std::make_shared<ui::ActivityIndicatorView>()) {
    activity_->setFrame(ui::makeRect(125, 80, 30, 30));
    // The spokes in the accent straight on the alert's white, with no square behind them.
    activity_->setColor(appstyle::kSpinner);
    setAccessoryView(activity_);
    activity_->startAnimating();
}

} // namespace vestrino
