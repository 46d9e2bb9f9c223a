#include "app/application/VestrinoAppDelegate.h"
#include "core/Translation.h"

#include "app/application/SessionLocker.h"
#include "app/chrome/ActivityAlertView.h"
#include "app/chrome/LaunchScreenView.h"
#include "app/chrome/VestrinoNavigationBar.h"
#include "app/chrome/VestrinoToolbar.h"
#include "app/chrome/VestrinoVC.h"
#include "app/info/UIBannerView.h"
#include "app/login/HomeViewController.h"
#include "app/settings/Preferences.h"
#include "core/Application.h"
#include "core/Paths.h"
#include "core/RunLoop.h"
#include "net/Reachability.h"
#include "store/FileUtils.h"
#include "store/GestoreCarteLocali.h"

#include <system_error>

namespace vestrino {

VestrinoAppDelegate::VestrinoAppDelegate() = default;

VestrinoAppDelegate::~VestrinoAppDelegate() {
    if (splashTimer_) {
        splashTimer_->invalidate();
    }
}

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
    createPrivateDirectories(path);
    return path;
}

void VestrinoAppDelegate::setDocumentsDirectory(std::filesystem::path path) {
    std::lock_guard lock(mutex_);
    documents_ = std::move(path);
}

void VestrinoAppDelegate::setLoggedIn(bool v) {
    loggedIn_ = v;
    if (lock_) {
        lock_->setArmed(v);
    }
}

void VestrinoAppDelegate::setLockOverride(std::optional<Duration> limit) {
    lockOverride_ = limit;
    applyLockPreference();
}

void VestrinoAppDelegate::applyLockPreference() {
    if (lock_) {
        lock_->setLimit(SessionLocker::limit(lockOverride_));
    }
}

void VestrinoAppDelegate::lockSession() {
    if (locker_ && loggedIn()) {
        locker_->lock([this] { return loggedIn(); });
    }
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

namespace vestrino {

void VestrinoAppDelegate::applicationDidFinishLaunching(const std::shared_ptr<ui::Window>& window) {
    window_ = window;
    // The look before the first frame; the desktop's scheme is read off the main thread and
    // repaints the window when it comes.
    appearance_ = std::make_shared<AppearanceFollower>(
        window_, appearanceOverride_.value_or(Preferences::shared().aspetto()));
    appearance_->followDesktop();
    observeReachabilityChanges();
    auto monitor = Reachability::reachabilityForInternetConnection();
    if (monitor) {
        monitor->startNotifer();
    }
    setHostReach(monitor);
    // Saves cut short in an earlier run (the program killed mid-write) leave temporary copies
    // of card lists behind; cards deleted since would live on in them.
    FileUtils::removeStaleTemporaryFilesInFolder(applicationDocumentsDirectory());
    setAppState(GestoreCarteLocali::initWithFiles());
    // Any input starts the lock's countdown again; a service call still out holds it off.
    lock_ = std::make_unique<InactivityLock>(
        RunLoop::main(), [this] { lockSession(); }, [] { return VestrinoVC::callsInFlight() > 0; });
    applyLockPreference();
    window_->setInputObserver([this] { lock_->noteActivity(); });
    setLoggedIn(false);

    login_ = std::make_shared<HomeViewController>();
    navigationController_ = std::make_shared<ui::NavigationController>(login_);
    locker_ = std::make_unique<SessionLocker>(*window_, *navigationController_, *login_);
    // The screens are laid out for 320 × 480 and follow the window's height from here.
    navigationController_->view()->setFrame(window_->bounds());
    navigationController_->setNavigationBar(std::make_shared<VestrinoNavigationBar>());
    navigationController_->setToolbar(std::make_shared<VestrinoToolbar>());
    navigationController_->setTranslucent(true);
    // Keys nobody has the focus for go to the screen shown.
    window_->setRootViewController(navigationController_);

    // The window shows a launch screen at once, as a phone does, while the banner is fetched in
    // the background: a banner that comes is the splash for 1.5 s, then the login; none, the
    // login at once.
    auto launch = std::make_shared<LaunchScreenView>(window_->bounds());
    launch_ = launch;
    window_->addSubview(launch);
    std::weak_ptr<VestrinoAppDelegate> self = shared();
    UIBannerView::fetch([self](std::shared_ptr<ui::UIImage> picture) {
        if (auto d = self.lock()) {
            d->bannerFetched(std::move(picture));
        }
    });
}

void VestrinoAppDelegate::bannerFetched(std::shared_ptr<ui::UIImage> picture) {
    auto launch = launch_.lock();
    if (!window_ || !launch) {
        return; // the program is ending
    }
    launch->removeFromSuperview();
    if (!picture) {
        nascondiBanner();
        return;
    }
    auto banner = UIBannerView::initWithFrame(window_->bounds(), std::move(picture));
    banner_ = banner;
    window_->addSubview(banner);
    // The timer holds the delegate weakly: a delegate gone before it fires is no harm.
    std::weak_ptr<VestrinoAppDelegate> self = shared();
    splashTimer_ = Timer::scheduledTimer(RunLoop::main(), seconds(1.5), false, [self](Timer&) {
        if (auto d = self.lock()) {
            d->nascondiBanner();
        }
    });
}

void VestrinoAppDelegate::applicationWillTerminate() {
    if (window_) {
        window_->setInputObserver(nullptr);
    }
    lock_.reset();
    appearance_.reset();
    if (splashTimer_) {
        splashTimer_->invalidate();
        splashTimer_.reset();
    }
    if (auto monitor = hostReach()) {
        monitor->stopNotifer();
    }
    if (window_) {
        window_->setRootViewController(nullptr);
        for (const auto& v : std::vector<std::shared_ptr<ui::View>>(window_->subviews())) {
            v->removeFromSuperview();
        }
    }
    locker_.reset();
    navigationController_.reset();
    login_.reset();
    window_.reset();
}

void VestrinoAppDelegate::nascondiBanner() {
    if (auto banner = banner_.lock()) {
        banner->removeFromSuperview();
    }
    if (window_ && navigationController_ &&
        navigationController_->view()->superview() != window_.get()) {
        window_->addSubview(navigationController_->view());
        navigationController_->topViewController()->viewWillAppear(false);
    }
}

nlohmann::ordered_json VestrinoAppDelegate::describeForSnapshot() {
    nlohmann::ordered_json screens = nlohmann::ordered_json::array();
    nlohmann::ordered_json visible = nullptr;
    if (navigationController_ && window_ &&
        navigationController_->view()->superview() == window_.get()) {
        for (const auto& c : navigationController_->viewControllers()) {
            screens.push_back(c->className());
        }
        visible = navigationController_->visibleViewController()->className();
    } else if (banner_.lock()) {
        visible = "UIBannerView";
    } else if (launch_.lock()) {
        visible = "LaunchScreenView";
    }
    nlohmann::ordered_json alert = nullptr;
    if (auto* a = window_ ? dynamic_cast<ui::AlertView*>(window_->modalView()) : nullptr) {
        alert = {{"title", a->title()},
                 {"message", a->message()},
                 {"buttons", a->buttonTitles()},
                 {"tag", a->tag()},
                 {"activity", dynamic_cast<ActivityAlertView*>(a) != nullptr}};
    }
    const ui::View* responder = window_ ? window_->firstResponder() : nullptr;
    nlohmann::ordered_json state{
        {"appearance", window_ && window_->appearance() == ui::Appearance::Dark ? "dark" : "light"},
        {"screens", screens},
        {"visible", visible},
        {"alert", alert},
        {"firstResponder", responder && !responder->name().empty()
                               ? nlohmann::ordered_json(responder->name())
                               : nlohmann::ordered_json(nullptr)}};
    // The view with the keyboard's focus, named or not (a card, a toolbar button).
    state["focus"] = responder ? nlohmann::ordered_json{{"class", responder->className()},
                                                        {"name", responder->name()},
                                                        {"tag", responder->tag()}}
                               : nlohmann::ordered_json(nullptr);
    if (const auto links = linkOpener_ ? linkOpener_->recordedLinks() : std::nullopt) {
        state["openedLinks"] = *links;
    }
    return state;
}

} // namespace vestrino
