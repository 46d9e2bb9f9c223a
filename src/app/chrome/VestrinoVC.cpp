#include "app/chrome/VestrinoVC.h"
#include "core/Translation.h"

#include "app/application/VestrinoAppDelegate.h"
#include "app/chrome/ActivityAlertView.h"
#include "app/chrome/AppStyle.h"
#include "app/chrome/VestrinoNavigationBar.h"
#include "app/chrome/VestrinoToolbar.h"
#include "app/session/Session.h"
#include "core/BackgroundTask.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/TextField.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace vestrino {

using namespace ui;

VestrinoToolbar* VestrinoVC::toolbar() const {
    auto* nav = navigationController();
    return nav ? dynamic_cast<VestrinoToolbar*>(nav->toolbar().get()) : nullptr;
}

VestrinoNavigationBar* VestrinoVC::navigationBar() const {
    auto* nav = navigationController();
    return nav ? dynamic_cast<VestrinoNavigationBar*>(nav->navigationBar().get()) : nullptr;
}

double VestrinoVC::ageBarTop() const {
    // The bar's picture, with its gold edge, runs some 9 points below the bar's frame.
    constexpr double kBarPictureOverhang = 10;
    auto* nav = navigationController();
    const double bar = nav && nav->navigationBar() ? nav->navigationBar()->frame().maxY()
                                                   : ui::NavigationController::kBarHeight;
    return bar + kBarPictureOverhang;
}

Window* VestrinoVC::window() const {
    auto delegate = VestrinoAppDelegate::shared();
    return delegate ? delegate->window().get() : nullptr;
}

VestrinoVC::VestrinoVC()
    : willLock_(NotificationCenter::defaultCenter().addObserver(
          kSessionWillLockNotification, [this](const Notification&) { sessionWillLock(); })),
      locked_(NotificationCenter::defaultCenter().addObserver(
          kSessionLockedNotification, [this](const Notification& n) {
              if (n.object.get() == static_cast<const void*>(static_cast<ViewController*>(this))) {
                  showLogout();
              }
          })) {}

void VestrinoVC::viewDidLoad() {
    setTitle("");
    if (auto* bar = toolbar()) {
        bar->setMdelegate(this);
    }
}

void VestrinoVC::viewWillAppear(bool) {
    if (auto* nav = navigationController()) {
        nav->setTranslucent(true);
    }
    if (auto* bar = toolbar()) {
        bar->setMdelegate(this);
        bar->refreshButtons();
    }
    if (auto* bar = navigationBar()) {
        bar->redraw(this);
    }
}

bool VestrinoVC::isLoggedIn() {
    auto delegate = VestrinoAppDelegate::shared();
    return delegate && delegate->loggedIn();
}

bool VestrinoVC::keyDown(ui::KeyCommand key) {
    if (key != ui::KeyCommand::Escape) {
        return false;
    }
    auto* bar = navigationBar();
    if (!bar || !bar->backButtonShown()) {
        return false;
    }
    bar->backButtonPressed(); // the same call as a touch on the button
    return true;
}

void VestrinoVC::backButtonPressed() {
    if (auto* nav = navigationController()) {
        nav->popViewControllerAnimated(true);
    }
}

namespace {

std::map<VestrinoVC::Place, VestrinoVC::ScreenMaker>& screenMakers() {
    static std::map<VestrinoVC::Place, VestrinoVC::ScreenMaker> makers;
    return makers;
}

VestrinoVC::Place placeOf(const std::shared_ptr<ui::ViewController>& screen) {
    const auto* vc = dynamic_cast<const VestrinoVC*>(screen.get());
    return vc ? vc->place() : VestrinoVC::Place::Other;
}

} // namespace

void VestrinoVC::setScreenMaker(Place place, ScreenMaker maker) {
    screenMakers()[place] = std::move(maker);
}

std::shared_ptr<VestrinoVC> VestrinoVC::makeScreen(Place place) {
    const auto it = screenMakers().find(place);
    if (it == screenMakers().end() || !it->second) {
        throw std::logic_error("no screen registered for a place of the toolbar");
    }
    return it->second();
}

void VestrinoVC::push(const std::shared_ptr<VestrinoVC>& screen) {
    screen->setSession(session_);
    if (auto* nav = navigationController()) {
        nav->pushViewController(screen, true);
    }
}

void VestrinoVC::showCarte() {
    auto* nav = navigationController();
    if (!nav) {
        return;
    }
    const Place visible = placeOf(nav->visibleViewController());
    if (visible == Place::Login) {
        push(makeScreen(Place::Wallet));
    } else if (visible != Place::Wallet) {
        // Back to the wallet in one press, however deep the screen shown is (the cash machines
        // are opened from the information screen); with no wallet below, one screen back.
        const auto& stack = nav->viewControllers();
        const auto wallet = std::find_if(stack.begin(), stack.end(), [](const auto& screen) {
            return placeOf(screen) == Place::Wallet;
        });
        if (wallet == stack.end() || !nav->popToViewController(*wallet, true)) {
            nav->popViewControllerAnimated(true);
        }
    }
}

void VestrinoVC::showInfo() {
    auto* nav = navigationController();
    if (nav && placeOf(nav->visibleViewController()) != Place::Info) {
        push(makeScreen(Place::Info));
    }
}

void VestrinoVC::showLogout() {
    // The device logs out at once, whatever the service answers and however long it takes:
    // the cache is emptied here and the request goes in the background.
    RemoteServiceUtil::endSessionOnDevice();
    if (session_) {
        const bool offline = session_->offline();
        session_->end(); // the copy's key is wiped; the copy stays
        if (!offline) {
            BackgroundTask::detach([] { RemoteServiceUtil::sendLogout(); });
        }
    } else {
        BackgroundTask::detach([] { RemoteServiceUtil::sendLogout(); });
    }
    if (auto delegate = VestrinoAppDelegate::shared()) {
        delegate->setLoggedIn(false);
    }
    if (auto* nav = navigationController()) {
        nav->popToRootViewControllerAnimated(true);
    }
}

void VestrinoVC::showAlertWithTitle(const std::string& title, const std::string& message,
                                    bool withActivity,
                                    const std::optional<std::string>& cancelButton,
                                    const std::optional<std::string>& otherButtonTitle) {
    std::shared_ptr<AlertView> alert;
    if (withActivity) {
        alert = std::make_shared<ActivityAlertView>(title, message, this);
    } else {
        std::vector<std::string> others;
        if (otherButtonTitle) {
            others.push_back(*otherButtonTitle);
        }
        alert = std::make_shared<AlertView>(title, message, this, cancelButton, others);
    }
    showAlert(alert);
    alertIsWait_ = withActivity;
}

void VestrinoVC::showAlert(const std::shared_ptr<AlertView>& alert) {
    alertView_ = alert;
    alertIsWait_ = false;
    waitToken_.reset();
    if (Window* w = window()) {
        alert->show(*w);
    }
}

void VestrinoVC::dismissAlertView() {
    // Closed by the code: the wait ended with its reply, not left by the person.
    alertIsWait_ = false;
    waitToken_.reset();
    auto alert = std::exchange(alertView_, nullptr);
    if (alert) {
        alert->dismissWithClickedButtonIndex(0);
    }
}

std::string VestrinoVC::failureText(int code, const std::optional<std::string>& message,
                                    const FailureTexts& texts) {
    // The screen's own texts in the language in force; the service's message as it came.
    if (code == CODICE_ERRORE_CONNESSIONE && texts.noConnection) {
        return trs(*texts.noConnection);
    }
    if (texts.failed) {
        return trs(*texts.failed);
    }
    return message && !message->empty() ? *message : trs(texts.fallback);
}

void VestrinoVC::serviceCallFailed(int code, const std::optional<std::string>& message,
                                   const FailureTexts& texts) {
    if (code == CODICE_ERRORE_SESSIONE_SCADUTA && texts.expiredSessionLogsOut) {
        forceLogoutSessionExpired(message && !message->empty() ? *message : trs(texts.fallback));
        return;
    }
    dismissAlertView();
    showAlertWithTitle(tr("Errore"), failureText(code, message, texts), false,
                       std::string(tr("OK")), std::nullopt);
}

void VestrinoVC::forceLogoutSessionExpired(const std::string& message) {
    dismissAlertView();
    auto alert = std::make_shared<AlertView>(tr("Attenzione"), message, this, std::string(tr("Ok")),
                                             std::vector<std::string>{});
    alert->setTag(kForcedLogoutAlertTag);
    alertView_ = alert;
    alertIsWait_ = false;
    waitToken_.reset();
    if (Window* w = window()) {
        alert->show(*w);
    }
}

void VestrinoVC::showAlertViewPasswordField(const std::string& title, const std::string& message,
                                            const std::string& hintText,
                                            TextFieldDelegate* delegate,
                                            const std::string& okButtonTitle,
                                            const std::string& cancelButtonTitle) {
    auto alert = std::make_shared<AlertView>(title, message, this, cancelButtonTitle,
                                             std::vector<std::string>{okButtonTitle});
    auto field = std::make_shared<TextField>(makeRect(16, 83, 252, 25));
    field->setPlaceholder(hintText);
    field->setSecureTextEntry(true);
    field->setDelegate(delegate);
    field->setBackgroundColor(appstyle::kSurface);
    alert->setAccessoryView(field);
    alertView_ = alert;
    alertIsWait_ = false;
    waitToken_.reset();
    if (Window* w = window()) {
        alert->show(*w);
        field->becomeFirstResponder();
    }
}

void VestrinoVC::alertViewDidDismissWithButtonIndex(AlertView& alert, int) {
    if (&alert == alertView_.get() && alertIsWait_) {
        // Only the person closes an activity alert this way: the code goes through
        // dismissAlertView, which forgets the wait first.
        alertView_ = nullptr;
        alertIsWait_ = false;
        if (auto token = std::exchange(waitToken_, std::nullopt)) {
            token->cancel();
        }
        waitCancelled();
        return;
    }
    if (alert.tag() == kForcedLogoutAlertTag) {
        showLogout();
    }
}

void VestrinoVC::cancelWait() {
    if (alertIsWait_ && alertView_) {
        alertView_->dismissWithClickedButtonIndex(0);
    }
}

} // namespace vestrino
