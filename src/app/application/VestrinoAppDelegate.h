#pragma once

#include "app/application/AppearanceFollower.h"
#include "app/application/InactivityLock.h"
#include "app/application/LinkOpener.h"
#include "core/ApplicationDelegate.h"
#include "core/DictCache.h"
#include "core/NotificationCenter.h"
#include "core/Timer.h"
#include "ui/NavigationController.h"
#include "ui/UIApplication.h"
#include "ui/Window.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

namespace vestrino {

class Reachability;
class GestoreCarteLocali;
class HomeViewController;
class SessionLocker;
class UIBannerView;

// The application's one object of shared state: the logged-in flag, the session cache, the
// internet reachability monitor and the documents directory. Reached by every part as the
// shared application's delegate.
class VestrinoAppDelegate : public ApplicationDelegate, public ui::UIApplicationDelegate {
public:
    VestrinoAppDelegate();
    ~VestrinoAppDelegate() override;

    // The shared application's delegate, when it is a VestrinoAppDelegate.
    static std::shared_ptr<VestrinoAppDelegate> shared();
    // Makes a new delegate the shared application's delegate (at launch, and between tests).
    static std::shared_ptr<VestrinoAppDelegate> install();

    bool loggedIn() const { return loggedIn_; }
    // Logged in, the inactivity lock counts down; logged out, it stops.
    void setLoggedIn(bool v);

    // After how long without input the session locks itself: the time the person chose (kept
    // in the preferences), unless the program was started with a time of its own.
    void setLockOverride(std::optional<Duration> limit);
    // Reads the person's choice again (the information screen changed it).
    void applyLockPreference();
    const InactivityLock* inactivityLock() const { return lock_.get(); }

    // The look: the person's choice (kept in the preferences), unless the program was started
    // with one of its own (--theme); the desktop's scheme is followed for "Sistema".
    void setAppearanceOverride(std::optional<AppearanceChoice> choice) {
        appearanceOverride_ = choice;
    }
    // What is in force, from launch on (nothing before).
    AppearanceFollower* appearance() const { return appearance_.get(); }
    // The time without input is up: whatever is open closes as if its cancel button were
    // pressed, the session logs out as the toolbar's logout does, and the login screen says why.
    void lockSession();

    // Created on first read; the same object ever after.
    DictCache& dictCache() override;

    // The local card manager, made at launch; the one field with locked accessors.
    std::shared_ptr<GestoreCarteLocali> appState() const;
    void setAppState(std::shared_ptr<GestoreCarteLocali> manager);

    std::shared_ptr<Reachability> hostReach() const override;
    void setHostReach(std::shared_ptr<Reachability> monitor);

    // The documents directory, created on first use; --documents overrides the default.
    std::filesystem::path applicationDocumentsDirectory() const override;
    void setDocumentsDirectory(std::filesystem::path path);

    // Handler of "kNetworkReachabilityChangedNotification": the notifying monitor becomes
    // hostReach; nothing else happens.
    void reachabilityChanged(const Notification& notification);
    // Starts listening to reachability changes (at launch).
    void observeReachabilityChanges();

    // The launch sequence: reachability monitor, local card manager, logged out, the splash
    // banner for 1.5 s when the service gives one, then the navigation stack rooted at the
    // login screen.
    void applicationDidFinishLaunching(const std::shared_ptr<ui::Window>& window) override;
    // Quitting: the splash timer stops, the reachability monitor ends, the screens and the
    // window are let go (a worker still running keeps only the screen it holds).
    void applicationWillTerminate() override;
    // The splash timer's end: the banner goes, the navigation view comes.
    void nascondiBanner();
    // The launch's banner is in (or none came): the splash, or the login at once.
    void bannerFetched(std::shared_ptr<ui::UIImage> picture);
    nlohmann::ordered_json describeForSnapshot() override;

    const std::shared_ptr<ui::Window>& window() const { return window_; }
    // Where places open (a cash machine on a map): the desktop in a window; recorded (and
    // listed in snapshots as "openedLinks") until the program says otherwise.
    const std::shared_ptr<LinkOpener>& linkOpener() const { return linkOpener_; }
    void setLinkOpener(std::shared_ptr<LinkOpener> opener) { linkOpener_ = std::move(opener); }
    const std::shared_ptr<ui::NavigationController>& navigationController() const {
        return navigationController_;
    }
    UIBannerView* banner() const { return banner_.lock().get(); }

private:
    std::atomic<bool> loggedIn_{false};
    std::once_flag cacheOnce_;
    std::unique_ptr<DictCache> dictCache_;
    mutable std::mutex mutex_;
    std::shared_ptr<Reachability> hostReach_;
    std::shared_ptr<GestoreCarteLocali> appState_;
    std::optional<std::filesystem::path> documents_;
    NotificationCenter::Observation reachabilityObservation_;
    std::shared_ptr<ui::Window> window_;
    std::shared_ptr<LinkOpener> linkOpener_ = std::make_shared<RecordingLinkOpener>();
    std::shared_ptr<ui::NavigationController> navigationController_;
    std::shared_ptr<HomeViewController> login_; // the root of the navigation
    std::weak_ptr<UIBannerView> banner_;        // the window keeps it while it is shown
    std::weak_ptr<ui::View> launch_;            // the launch screen, until the banner is in
    std::shared_ptr<Timer> splashTimer_;
    std::unique_ptr<InactivityLock> lock_;  // when the time without input is up
    std::unique_ptr<SessionLocker> locker_; // what is done then
    std::optional<Duration> lockOverride_;
    std::optional<AppearanceChoice> appearanceOverride_;
    std::shared_ptr<AppearanceFollower> appearance_;
};

} // namespace vestrino
