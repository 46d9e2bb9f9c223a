#pragma once

#include "app/chrome/VestrinoToolbarDelegate.h"
#include "core/BackgroundTask.h"
#include "core/CancelToken.h"
#include "core/NotificationCenter.h"
#include "core/RunLoop.h"
#include "core/Translation.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace vestrino {

class Session;
class VestrinoToolbar;
class VestrinoNavigationBar;

inline constexpr int kForcedLogoutAlertTag = -9090;

// The session locks for inactivity: every screen closes what it has open (sessionWillLock)...
inline constexpr const char* kSessionWillLockNotification = "VestrinoSessionWillLock";
// ...then the screen shown, the notification's object, logs out.
inline constexpr const char* kSessionLockedNotification = "VestrinoSessionLocked";

// The base of every content screen: one current alert (with or without a spinner), the
// toolbar's three commands, logout and the forced logout after an expired session, the back
// command, and the answers the toolbar and the navigation bar ask for.
class VestrinoVC : public ui::ViewController,
                   public VestrinoToolbarDelegate,
                   public ui::AlertViewDelegate {
public:
    // The places the toolbar leads to. The base screen finds where it is, and makes the screen
    // to go to, by place: it knows none of the screens' classes.
    enum class Place { Other, Login, Wallet, Info };
    // Every screen follows the lock's notifications while it lives.
    VestrinoVC();
    using ScreenMaker = std::function<std::shared_ptr<VestrinoVC>()>;
    // The screen of each place, registered once at launch (registerAppViewClasses).
    static void setScreenMaker(Place place, ScreenMaker maker);
    static std::shared_ptr<VestrinoVC> makeScreen(Place place);
    virtual Place place() const { return Place::Other; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int getTagOfSelectedButton() override { return kTagCarte; }
    bool isLoggedIn() override;
    virtual bool isBackButtonRequired() { return isLoggedIn(); }
    virtual void backButtonPressed();
    virtual bool showHideBars() { return false; }

    // The session the screen works in (none on the login screen, or before a login): handed
    // on to every screen this one opens.
    const std::shared_ptr<Session>& session() const { return session_; }
    void setSession(std::shared_ptr<Session> session) { session_ = std::move(session); }
    // The login screen logs in again with what its form holds (nothing elsewhere).
    virtual void retryLogin() {}
    // Opens the screen on top of this one, in this one's session.
    void push(const std::shared_ptr<VestrinoVC>& screen);

    void showCarte() override;
    void showInfo() override;
    void showLogout() override;

    // Shows an alert made by the screen (more buttons than showAlertWithTitle's two).
    void showAlert(const std::shared_ptr<ui::AlertView>& alert);
    void showAlertWithTitle(const std::string& title, const std::string& message, bool withActivity,
                            const std::optional<std::string>& cancelButton,
                            const std::optional<std::string>& otherButtonTitle);
    void dismissAlertView();
    bool isAlertShown() const { return alertView_ != nullptr; }
    const std::shared_ptr<ui::AlertView>& alertView() const { return alertView_; }
    void forceLogoutSessionExpired(const std::string& message);
    void showAlertViewPasswordField(const std::string& title, const std::string& message,
                                    const std::string& hintText, ui::TextFieldDelegate* delegate,
                                    const std::string& okButtonTitle,
                                    const std::string& cancelButtonTitle);

    // Runs a blocking service call off the main thread and hands its result to `done` on the
    // main thread, without waiting for it: the screen is kept alive until then. `call` must
    // copy what it sends; it touches nothing of the screen. When the call is made while the
    // screen's activity alert is up, that alert's "Annulla" (or Escape) leaves the wait: the
    // transfer is aborted, waitCancelled() puts the screen back as it was, and the reply, if
    // one still comes, goes to `abandoned` instead of `done` (nowhere when there is none).
    template <typename Result>
    void runServiceCall(std::function<Result()> call, std::function<void(Result)> done,
                        std::function<void(Result)> abandoned = nullptr) {
        ++callsInFlight_;
        CancelToken token;
        if (alertIsWait_) {
            waitToken_ = token;
        }
        BackgroundTask::detach([self = shared_from_this(), token, call = std::move(call),
                                done = std::move(done),
                                abandoned = std::move(abandoned)]() mutable {
            auto result = [&] {
                const CancelScope scope(token);
                return call();
            }();
            RunLoop::main().post([self, token, done = std::move(done),
                                  abandoned = std::move(abandoned),
                                  result = std::move(result)]() mutable {
                --callsInFlight_;
                if (!token.cancelled()) {
                    done(std::move(result));
                } else if (abandoned) {
                    abandoned(std::move(result));
                }
            });
        });
    }
    // The person left the wait of the call in flight ("Annulla" on its activity alert): the
    // screen goes back to how it was before the action.
    virtual void waitCancelled() {}
    // Leaves the current wait as "Annulla" does (nothing when no wait is up).
    void cancelWait();
    // The calls started and not yet answered on the main thread (the inactivity lock waits for
    // them).
    static int callsInFlight() { return callsInFlight_; }

    // The session is locking for inactivity: what the screen has open goes as if cancelled.
    virtual void sessionWillLock() { dismissAlertView(); }

    // What a screen says when a service call fails.
    struct FailureTexts {
        // Instead of the service's message when the service cannot be reached.
        std::optional<std::string> noConnection = std::nullopt;
        // Instead of the service's message for any other failure.
        std::optional<std::string> failed = std::nullopt;
        // When the service sent no message.
        std::string fallback = kTemporaryProblem;
        // An expired session ends in the forced logout (else it is one more failure).
        bool expiredSessionLogsOut = true;
    };
    // What a login says when the service cannot be reached.
    static constexpr const char* kLoginConnectionProblem =
        N_("Problema di connessione, verificare la connettività dati.");
    static constexpr const char* kTemporaryProblem =
        N_("Problema temporaneo, riprovare più tardi.");
    // The text a person reads for a failed call.
    static std::string failureText(int code, const std::optional<std::string>& message,
                                   const FailureTexts& texts);
    // The common end of a failed call: the forced logout with the service's message when the
    // session has expired, otherwise the alert "Errore" with the screen's text.
    void serviceCallFailed(int code, const std::optional<std::string>& message,
                           const FailureTexts& texts);

    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;
    // Escape goes back as "Indietro" does, where it is shown.
    bool keyDown(ui::KeyCommand key) override;

    std::string className() const override { return "VestrinoVC"; }

protected:
    // Where a strip under the navigation bar goes, in the screen's view.
    double ageBarTop() const;
    VestrinoToolbar* toolbar() const;
    VestrinoNavigationBar* navigationBar() const;
    ui::Window* window() const;

private:
    std::shared_ptr<ui::AlertView> alertView_;
    std::shared_ptr<Session> session_;
    // The current alert is an activity alert, and the call it waits for.
    bool alertIsWait_ = false;
    std::optional<CancelToken> waitToken_;
    static inline std::atomic<int> callsInFlight_{0};
    NotificationCenter::Observation willLock_;
    NotificationCenter::Observation locked_;
};

} // namespace vestrino
