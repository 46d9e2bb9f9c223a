#include "app/login/HomeViewController.h"
#include "core/Translation.h"
#include "ui/Window.h"

#include "app/application/VestrinoAppDelegate.h"
#include "app/session/Session.h"
#include "app/session/SessionLogin.h"
#include "app/settings/Preferences.h"
#include "app/wallet/CarteViewController.h"
#include "core/CancelToken.h"
#include "core/DictCache.h"
#include "core/RunLoop.h"
#include "core/SecretText.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "store/FileUtils.h"
#include "ui/Animator.h"

namespace vestrino {

using namespace ui;

LayoutLoader::Actions HomeViewController::layoutActions() {
    return {{"accedi", [this](Button&) { accedi(); }},
            {"backgroundTap", [this](Button&) { backgroundTap(); }}};
}

void HomeViewController::bindOutlets() {
    bindOutlet(usernameField_, "usernameField");
    bindOutlet(passwordField_, "passwordField");
    bindOutlet(contenitore_, "contenitore");
}

void HomeViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    usernameField_->setDelegate(this);
    passwordField_->setDelegate(this);
    passwordField_->setSecureTextEntry(true);
    RemoteServiceUtil::dictCache().removeAllObjects();
}

void HomeViewController::viewWillAppear(bool animated) {
    usernameField_->setText("");
    passwordField_->setText("");
    VestrinoVC::viewWillAppear(animated);
    // With a keyboard of its own a person types the user name at once. On a phone the fields
    // wait for a touch: focusing one would raise the on-screen keyboard over the screen.
    auto self = std::static_pointer_cast<HomeViewController>(shared_from_this());
    RunLoop::main().post([self] {
        Window* w = self->window();
        if (w && !w->onScreenKeyboard() && !w->firstResponder() && self->isViewLoaded() &&
            self->view()->window() == w) {
            self->usernameField_->becomeFirstResponder();
        }
    });
}

void HomeViewController::moveContainer(bool raised, const char* name) {
    // The container makes room for an on-screen keyboard; with none, it stays where the person
    // saw the fields.
    if (Window* w = window(); !w || !w->onScreenKeyboard()) {
        return;
    }
    raised_ = raised;
    const Point center = raised ? restCenter_ - (kRest - kRaised) : restCenter_;
    auto container = contenitore_;
    Animator::shared().animate({.duration = 0.5, .name = name},
                               [&] { container->setCenter(center); });
}

void HomeViewController::viewDidLayoutSubviews() {
    // The screen's height changed and the container with it: its rest follows.
    if (auto container = contenitore_) {
        const Point center = container->frame().center();
        restCenter_ = raised_ ? center + (kRest - kRaised) : center;
    }
}

void HomeViewController::textFieldDidBeginEditing(TextField&) {
    moveContainer(true, "scrollup");
}

bool HomeViewController::textFieldShouldReturn(TextField& f) {
    if (&f == usernameField_.get()) {
        passwordField_->becomeFirstResponder();
    } else {
        accedi();
    }
    return false;
}

void HomeViewController::backgroundTap() {
    usernameField_->resignFirstResponder();
    passwordField_->resignFirstResponder();
    moveContainer(false, "scrolldown");
}

void HomeViewController::showAlertError(const std::string& message) {
    showAlertWithTitle(tr("Attenzione"), message, false, std::string(tr("OK")), std::nullopt);
}

void HomeViewController::accedi() {
    const std::string user = usernameField_->text();
    const std::string password = passwordField_->text();
    // The error alerts appear once the current event has been handled.
    auto self = std::static_pointer_cast<HomeViewController>(shared_from_this());
    auto later = [self](std::string message) {
        RunLoop::main().post([self, message] { self->showAlertError(message); });
    };
    if (user.empty() && password.empty()) {
        later(tr("Inserisci nome utente e password"));
    } else if (user.empty()) {
        later(tr("Inserisci il nome utente"));
    } else if (password.empty()) {
        later(tr("Inserisci la password"));
    } else {
        // The field with the focus, to give it back when the login fails (a desktop keyboard
        // then tries again with Return); the keyboard of a phone closes as the request goes.
        Window* w = window();
        View* focus = w ? w->firstResponder() : nullptr;
        focusBeforeLogin_ = focus == usernameField_.get()   ? usernameField_
                            : focus == passwordField_.get() ? passwordField_
                                                            : nullptr;
        backgroundTap();
        editingEnded();
    }
}

void HomeViewController::editingEnded() {
    moveContainer(false, "scrolldown");
    showAlertWithTitle(tr("Attendere"), tr("Richiesta autenticazione in corso"), true, std::nullopt,
                       std::nullopt);
    const std::string user = usernameField_->text();
    std::string password = passwordField_->text();
    runServiceCall<SessionLogin::Reply>(
        [user, password, folder = FileUtils::applicationDocumentsDirectory(),
         keepCopy = Preferences::shared().usoSenzaConnessione()]() mutable {
            auto r = SessionLogin::run(user, password, folder, keepCopy, true);
            wipeSecret(password);
            return r;
        },
        [this](SessionLogin::Reply r) { loginFinished(std::move(r)); });
}

void HomeViewController::waitCancelled() {
    // The form stays as it was typed; the focus goes back where it was, as after a failure.
    if (Window* w = window(); w && !w->onScreenKeyboard() && focusBeforeLogin_) {
        focusBeforeLogin_->becomeFirstResponder();
    }
    focusBeforeLogin_ = nullptr;
}

void HomeViewController::loginFinished(SessionLogin::Reply r) {
    const int code = r.code;
    const auto& message = r.message;
    dismissAlertView();
    const bool offline = r.session && r.session->offline();
    if (code == LOGIN_OK || offline) {
        if (offline) {
            // The screens find the user as after a login.
            RemoteServiceUtil::dictCache().setObject(kSessionUsernameKey, r.user);
        }
        if (auto delegate = VestrinoAppDelegate::shared()) {
            delegate->setLoggedIn(true);
        }
        auto wallet = std::make_shared<CarteViewController>();
        wallet->setSession(std::move(r.session));
        if (auto* nav = navigationController()) {
            nav->pushViewController(wallet, true);
        }
        return;
    }
    RemoteServiceUtil::dictCache().removeAllObjects();
    if (Window* w = window(); w && !w->onScreenKeyboard() && focusBeforeLogin_) {
        focusBeforeLogin_->becomeFirstResponder(); // back there once the alert is answered
    }
    focusBeforeLogin_ = nullptr;
    showAlertError(failureText(code, message, {.noConnection = kLoginConnectionProblem}));
}

} // namespace vestrino
