#include "core/Application.h"

namespace vestrino {

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
