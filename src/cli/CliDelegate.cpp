#include "cli/CliDelegate.h"

#include "core/Application.h"
#include "core/Paths.h"

namespace vestrino {

std::shared_ptr<CliDelegate> CliDelegate::install(std::optional<std::filesystem::path> documents) {
    auto delegate = std::make_shared<CliDelegate>();
    delegate->documents_ = documents ? *documents : defaultDocumentsDirectory();
    Application::sharedApplication().setDelegate(delegate);
    return delegate;
}

std::shared_ptr<Reachability> CliDelegate::hostReach() const {
    std::lock_guard lock(mutex_);
    return hostReach_;
}

void CliDelegate::setHostReach(std::shared_ptr<Reachability> monitor) {
    std::lock_guard lock(mutex_);
    hostReach_ = std::move(monitor);
}

std::filesystem::path CliDelegate::applicationDocumentsDirectory() const {
    createPrivateDirectories(documents_);
    return documents_;
}

} // namespace vestrino
