#pragma once

#include "app/VestrinoToolbarDelegate.h"
#include "ui/AlertView.h"
#include "ui/NavigationController.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

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
};

} // namespace vestrino
