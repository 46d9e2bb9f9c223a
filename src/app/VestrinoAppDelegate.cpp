#include "app/VestrinoAppDelegate.h"

#include "core/Application.h"
#include "core/Paths.h"
#include "net/Reachability.h"
#include "store/GestoreCarteLocali.h"

#include <system_error>

namespace vestrino {

VestrinoAppDelegate::VestrinoAppDelegate() = default;

VestrinoAppDelegate::~VestrinoAppDelegate() = default;

std::shared_ptr<VestrinoAppDelegate> VestrinoAppDelegate::shared() {
    return std::dynamic_pointer_cast<VestrinoAppDelegate>(
        Application::sharedApplication().delegate());
}

std::shared_ptr<VestrinoAppDelegate> VestrinoAppDelegate::install() {
    auto delegate = std::make_shared<VestrinoAppDelegate>();
    Application::sharedApplication().setDelegate(delegate);
    return delegate;
}

DictCache& VestrinoAppDelegate::dictCache() {
    std::call_once(cacheOnce_, [this] { dictCache_ = std::make_unique<DictCache>(); });
    return *dictCache_;
}

std::shared_ptr<GestoreCarteLocali> VestrinoAppDelegate::appState() const {
    std::lock_guard lock(mutex_);
    return appState_;
}

void VestrinoAppDelegate::setAppState(std::shared_ptr<GestoreCarteLocali> manager) {
    std::lock_guard lock(mutex_);
    appState_ = std::move(manager);
}

std::shared_ptr<Reachability> VestrinoAppDelegate::hostReach() const {
    std::lock_guard lock(mutex_);
    return hostReach_;
}

void VestrinoAppDelegate::setHostReach(std::shared_ptr<Reachability> monitor) {
    std::lock_guard lock(mutex_);
    hostReach_ = std::move(monitor);
}

std::filesystem::path VestrinoAppDelegate::applicationDocumentsDirectory() const {
    std::filesystem::path path;
    {
        std::lock_guard lock(mutex_);
        path = documents_ ? *documents_ : defaultDocumentsDirectory();
    }
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return path;
}

void VestrinoAppDelegate::setDocumentsDirectory(std::filesystem::path path) {
    std::lock_guard lock(mutex_);
    documents_ = std::move(path);
}

void VestrinoAppDelegate::reachabilityChanged(const Notification& notification) {
    if (auto monitor = std::static_pointer_cast<Reachability>(notification.object)) {
        setHostReach(std::move(monitor));
    }
}

void VestrinoAppDelegate::observeReachabilityChanges() {
    reachabilityObservation_ = NotificationCenter::defaultCenter().addObserver(
        kReachabilityChangedNotification,
        [this](const Notification& n) { reachabilityChanged(n); });
}

} // namespace vestrino
