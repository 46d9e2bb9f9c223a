#pragma once

#include "core/Clock.h"

#include <functional>
#include <optional>

namespace vestrino {

namespace ui {
class NavigationController;
class Window;
} // namespace ui
class VestrinoVC;

// What locking the session for inactivity does, once InactivityLock says the time is up:
// whatever is open closes as if its cancel button were pressed (every screen hears
// kSessionWillLockNotification, and an alert the window holds is dismissed), the screen shown
// logs out as the toolbar's logout does (kSessionLockedNotification), and the login screen
// says why.
class SessionLocker {
public:
    SessionLocker(ui::Window& window, ui::NavigationController& navigation, VestrinoVC& login);

    // Locks now; `loggedIn` is asked again after the alerts went (a forced logout's alert,
    // cancelled, has logged out already).
    void lock(const std::function<bool()>& loggedIn);

    // After how long without input the session locks: the program's own time when it was
    // started with one, else the person's choice in the preferences (nothing: never).
    static std::optional<Duration> limit(const std::optional<Duration>& programsOwn);

private:
    ui::Window& window_;
    ui::NavigationController& navigation_;
    VestrinoVC& login_;
};

} // namespace vestrino
