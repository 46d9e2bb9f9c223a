#pragma once

#include "app/settings/AppearanceChoice.h"
#include "ui/DesktopSettingsWatcher.h"

#include <memory>

namespace vestrino {

namespace ui {
class Window;
}

// Keeps the window in the look in force: the one the person chose, or for "Sistema" the
// desktop's colour scheme, followed while the program runs. A change repaints the window and
// touches nothing else (the screen, what was typed, the scroll stay). Lives on the main thread;
// the desktop's answers reach it through the main queue.
class AppearanceFollower : public std::enable_shared_from_this<AppearanceFollower> {
public:
    AppearanceFollower(std::shared_ptr<ui::Window> window, AppearanceChoice choice);

    // Starts reading the desktop's scheme off the main thread (nothing happens without a bus).
    void followDesktop();

    AppearanceChoice choice() const { return choice_; }
    void setChoice(AppearanceChoice choice);
    // What the desktop asks for, as last heard (no preference until it answers).
    ui::ColorScheme desktopScheme() const { return desktop_; }
    void desktopSchemeChanged(ui::ColorScheme scheme);

private:
    void apply();

    std::weak_ptr<ui::Window> window_;
    AppearanceChoice choice_;
    ui::ColorScheme desktop_ = ui::ColorScheme::NoPreference;
    std::unique_ptr<ui::DesktopSettingsWatcher> watcher_;
};

} // namespace vestrino
