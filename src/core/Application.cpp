#include "core/Application.h"

#include "core/NotificationCenter.h"
#include "core/RunLoop.h"

namespace vestrino {

Application::Application() {
    // The delegate observes notifications and posts to the main loop until it goes: both must
    // outlive the application object, so they are made first (and so destroyed after it).
    NotificationCenter::defaultCenter();
    RunLoop::main();
}

Application& Application::sharedApplication() {
    static Application app;
    return app;
}

std::shared_ptr<ApplicationDelegate> Application::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_;
}

void Application::setDelegate(std::shared_ptr<ApplicationDelegate> delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = std::move(delegate);
}

} // namespace vestrino
