#pragma once

#include "app/VestrinoToolbarDelegate.h"
#include "core/BackgroundTask.h"
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

class VestrinoToolbar;
class VestrinoNavigationBar;

inline constexpr int kForcedLogoutAlertTag = -9090;

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
    // copy what it sends; it touches nothing of the screen.
    template <typename Result>
    void runServiceCall(std::function<Result()> call, std::function<void(Result)> done) {
        ++callsInFlight_;
        BackgroundTask::detach(
            [self = shared_from_this(), call = std::move(call), done = std::move(done)]() mutable {
                auto result = call();
                RunLoop::main().post(
                    [self, done = std::move(done), result = std::move(result)]() mutable {
                        --callsInFlight_;
                        done(std::move(result));
                    });
            });
    }
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
    VestrinoToolbar* toolbar() const;
    VestrinoNavigationBar* navigationBar() const;
    ui::Window* window() const;

private:
    std::shared_ptr<ui::AlertView> alertView_;
    static inline std::atomic<int> callsInFlight_{0};
};

} // namespace vestrino
