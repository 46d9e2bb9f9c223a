#pragma once

#include "app/chrome/VestrinoVC.h"
#include "ui/Button.h"
#include "ui/Switch.h"

namespace vestrino {

// The information screen: a fixed text and the service's banner; selects the toolbar's
// information button. Beside them: the way to the cash machines near a town ("Lumaspot
// vicini") and the switch that hides every amount the application shows ("Nascondi
// importi", remembered), and the time without input after which the session locks itself
// (1, 5 or 15 minutes or never, remembered; the button shows the choice and asks among them),
// and the look ("Aspetto": the desktop's, light or dark, remembered, in force at once).
// Last, whether the cards and statements seen are kept for use without a connection (on by
// default; off removes the copies) and the way to forget what is kept.
class InfoViewController : public VestrinoVC {
public:
    std::string layoutName() const override { return "InfoViewController"; }
    std::string className() const override { return "InfoViewController"; }
    Place place() const override { return Place::Info; }
    int getTagOfSelectedButton() override { return kTagInfo; }
    ui::LayoutLoader::Actions layoutActions() override;
    void bindOutlets() override;
    void viewDidLoad() override;

    void mostraLumaspot();
    static constexpr int kLockAlertTag = 71;
    static constexpr int kForgetAlertTag = 72;
    static constexpr int kAppearanceAlertTag = 73;
    // Asks, then removes the copy kept for use without a connection (this user's in a session,
    // every user's on this device otherwise).
    void dimenticaDati();
    void senzaConnessioneChanged(bool on);
    // Asks which lock time to keep: an alert with a button a choice.
    void cambiaBlocco();
    // Asks which look to keep: "Sistema", "Chiaro", "Scuro".
    void cambiaAspetto();
    // The choice answered: kept and put in force at once.
    void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;
    // "5 min", or "mai" for never.
    static std::string lockChoiceTitle(int minutes);

private:
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<ui::Switch> nascondiImporti_;
    std::shared_ptr<ui::Button> lumaspotButton_;
    std::shared_ptr<ui::Button> bloccoButton_;
    std::shared_ptr<ui::Button> aspettoButton_;
    std::shared_ptr<ui::Switch> senzaConnessione_;
    std::shared_ptr<ui::Label> senzaConnessioneLabel_;
    std::shared_ptr<ui::Button> dimenticaButton_;

    void showLockChoice();
    void showAppearanceChoice();
};

} // namespace vestrino
