#include "app/application/AppearanceFollower.h"

#include "core/RunLoop.h"
#include "ui/Window.h"

namespace vestrino {

AppearanceFollower::AppearanceFollower(std::shared_ptr<ui::Window> window, AppearanceChoice choice)
    : window_(std::move(window)), choice_(choice) {
    apply();
}

void AppearanceFollower::followDesktop() {
    std::weak_ptr<AppearanceFollower> self = weak_from_this();
    watcher_ = std::make_unique<ui::DesktopSettingsWatcher>([self](ui::ColorScheme scheme) {
        RunLoop::main().queue().post([self, scheme] {
            if (auto follower = self.lock()) {
                follower->desktopSchemeChanged(scheme);
            }
        });
    });
}

void AppearanceFollower::setChoice(AppearanceChoice choice) {
    choice_ = choice;
    apply();
}

void AppearanceFollower::desktopSchemeChanged(ui::ColorScheme scheme) {
    desktop_ = scheme;
    apply();
}

void AppearanceFollower::apply() {
    if (auto window = window_.lock()) {
        window->setAppearance(appearanceFor(choice_, desktop_));
    }
}

} // namespace vestrino
