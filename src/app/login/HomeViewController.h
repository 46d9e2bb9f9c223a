#pragma once

#include "app/chrome/VestrinoVC.h"
#include "app/session/SessionLogin.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <filesystem>

namespace vestrino {

// The login screen, root of the navigation stack: user name and password in a container that
// rises while a field is edited, the checks, the login on a background worker behind an
// activity alert, then the wallet or an error.
class HomeViewController : public VestrinoVC, public ui::TextFieldDelegate {
public:
    // The container's centre on a 480-point screen, at rest and raised over an on-screen
    // keyboard; a taller screen moves the rest (the layout's margins) and keeps the rise.
    static constexpr ui::Point kRest{160, 230};
    static constexpr ui::Point kRaised{160, 160};

    std::string layoutName() const override { return "HomeViewController"; }
    std::string className() const override { return "HomeViewController"; }
    Place place() const override { return Place::Login; }
    ui::LayoutLoader::Actions layoutActions() override;

    void bindOutlets() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidLayoutSubviews() override;

    void textFieldDidBeginEditing(ui::TextField& field) override;
    bool textFieldShouldReturn(ui::TextField& field) override;
    bool textFieldShouldEndEditing(ui::TextField&) override { return true; }

    void backgroundTap();
    void accedi();
    void editingEnded();
    void showAlertError(const std::string& message);
    void waitCancelled() override;

private:
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<ui::TextField> usernameField_;
    std::shared_ptr<ui::TextField> passwordField_;
    // The field that had the focus when the login was sent (given back if it fails).
    std::shared_ptr<ui::TextField> focusBeforeLogin_;
    std::shared_ptr<ui::View> contenitore_;

    void moveContainer(bool raised, const char* name);
    void loginFinished(SessionLogin::Reply reply);

    ui::Point restCenter_ = kRest;
    bool raised_ = false;
};

} // namespace vestrino
