#include "app/application/SessionLocker.h"

#include "app/chrome/VestrinoVC.h"
#include "app/settings/Preferences.h"
#include "core/NotificationCenter.h"
#include "core/Translation.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/Window.h"

namespace vestrino {

SessionLocker::SessionLocker(ui::Window& window, ui::NavigationController& navigation,
                             VestrinoVC& login)
    : window_(window), navigation_(navigation), login_(login) {}

void SessionLocker::lock(const std::function<bool()>& loggedIn) {
    NotificationCenter::defaultCenter().postNotification(kSessionWillLockNotification);
    // An alert a screen does not keep (the window holds it) goes as if cancelled; a few at
    // most, in case dismissing one brings up another.
    for (int i = 0; i < 4; ++i) {
        auto* alert = dynamic_cast<ui::AlertView*>(window_.modalView());
        if (!alert) {
            break;
        }
        alert->dismissWithClickedButtonIndex(0);
    }
    if (loggedIn()) {
        NotificationCenter::defaultCenter().postNotification(kSessionLockedNotification,
                                                             navigation_.visibleViewController());
    }
    login_.showAlertWithTitle(tr("Attenzione"), tr("Sessione chiusa per inattività."), false,
                              std::string(tr("OK")), std::nullopt);
}

std::optional<Duration> SessionLocker::limit(const std::optional<Duration>& programsOwn) {
    if (programsOwn) {
        return programsOwn;
    }
    const int minutes = Preferences::shared().bloccoMinuti();
    return minutes > 0 ? std::optional<Duration>(std::chrono::minutes(minutes)) : std::nullopt;
}

} // namespace vestrino
