#include "app/info/InfoViewController.h"
#include "app/chrome/ButtonStyle.h"
#include "core/Translation.h"

#include "app/application/VestrinoAppDelegate.h"
#include "app/cashmachines/LumaspotViewController.h"
#include "app/session/Session.h"
#include "app/settings/Preferences.h"
#include "store/FileUtils.h"
#include "store/OfflineCopy.h"
#include "ui/Switch.h"

#include <algorithm>
#include <iterator>

namespace vestrino {

ui::LayoutLoader::Actions InfoViewController::layoutActions() {
    return {{"mostraLumaspot", [this](ui::Button&) { mostraLumaspot(); }},
            {"cambiaBlocco", [this](ui::Button&) { cambiaBlocco(); }},
            {"cambiaAspetto", [this](ui::Button&) { cambiaAspetto(); }},
            {"dimenticaDati", [this](ui::Button&) { dimenticaDati(); }}};
}

void InfoViewController::bindOutlets() {
    bindOutlet(nascondiImporti_, "nascondiImporti");
    bindOutlet(lumaspotButton_, "lumaspotButton");
    bindOutlet(bloccoButton_, "bloccoButton");
    bindOutlet(aspettoButton_, "aspettoButton");
    bindOutlet(senzaConnessione_, "senzaConnessione");
    bindOutlet(senzaConnessioneLabel_, "senzaConnessioneLabel");
    bindOutlet(dimenticaButton_, "dimenticaButton");
}

void InfoViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    nascondiImporti_->setOn(Preferences::shared().nascondiImporti());
    nascondiImporti_->addTarget(
        [](ui::Switch& s) { Preferences::shared().setNascondiImporti(s.isOn()); });
    ButtonStyle::makePrimary(*lumaspotButton_);
    ButtonStyle::makeOption(*bloccoButton_);
    ButtonStyle::makeOption(*aspettoButton_);
    ButtonStyle::makeOption(*dimenticaButton_);
    senzaConnessioneLabel_->setWrapsText(true);
    senzaConnessione_->setOn(Preferences::shared().usoSenzaConnessione());
    senzaConnessione_->addTarget([this](ui::Switch& s) { senzaConnessioneChanged(s.isOn()); });
    showLockChoice();
    showAppearanceChoice();
}

namespace {
// The look in force: the delegate's (which --theme may have set for the run), else the kept one.
AppearanceChoice appearanceChoice() {
    const auto delegate = VestrinoAppDelegate::shared();
    return delegate && delegate->appearance() ? delegate->appearance()->choice()
                                              : Preferences::shared().aspetto();
}
} // namespace

void InfoViewController::showAppearanceChoice() {
    const std::string title = appearanceChoiceTitle(appearanceChoice());
    aspettoButton_->setTitle(title, ui::ControlState::Normal);
    aspettoButton_->setAccessibilityLabel(tr("Aspetto: ") + title);
}

void InfoViewController::cambiaAspetto() {
    std::vector<std::string> titles;
    for (const AppearanceChoice c : kAppearanceChoices) {
        titles.push_back(appearanceChoiceTitle(c));
    }
    const AppearanceChoice now = appearanceChoice();
    auto alert = std::make_shared<ui::AlertView>(
        tr("Aspetto"),
        tr("Colori del desktop (Sistema), sempre chiari o sempre scuri? Ora: ") +
            appearanceChoiceTitle(now),
        this, std::nullopt, titles);
    alert->setTag(kAppearanceAlertTag);
    // Return and Escape both keep what is chosen now.
    const int index = static_cast<int>(
        std::find(std::begin(kAppearanceChoices), std::end(kAppearanceChoices), now) -
        std::begin(kAppearanceChoices));
    alert->setDefaultButtonIndex(index);
    alert->setEscapeButtonIndex(index);
    showAlert(alert);
}

std::string InfoViewController::lockChoiceTitle(int minutes) {
    return minutes > 0 ? std::to_string(minutes) + tr(" min") : tr("mai");
}

void InfoViewController::showLockChoice() {
    const int minutes = Preferences::shared().bloccoMinuti();
    bloccoButton_->setTitle(lockChoiceTitle(minutes), ui::ControlState::Normal);
    bloccoButton_->setAccessibilityLabel(tr("Blocco automatico: ") + lockChoiceTitle(minutes));
}

void InfoViewController::cambiaBlocco() {
    // Every choice in sight at once, rather than a button that changes at each touch.
    std::vector<std::string> titles;
    for (const int minutes : Preferences::kLockChoices) {
        titles.push_back(lockChoiceTitle(minutes));
    }
    const std::string now = lockChoiceTitle(Preferences::shared().bloccoMinuti());
    auto alert = std::make_shared<ui::AlertView>(
        tr("Blocco automatico"),
        tr("Bloccare la sessione dopo quanto tempo senza uso? Ora: ") + now, this, std::nullopt,
        titles);
    alert->setTag(kLockAlertTag);
    const auto* current =
        std::find(std::begin(Preferences::kLockChoices), std::end(Preferences::kLockChoices),
                  Preferences::shared().bloccoMinuti());
    if (current != std::end(Preferences::kLockChoices)) {
        // Return and Escape both keep what is chosen now.
        const int index = static_cast<int>(current - std::begin(Preferences::kLockChoices));
        alert->setDefaultButtonIndex(index);
        alert->setEscapeButtonIndex(index);
    }
    showAlert(alert);
}

void InfoViewController::senzaConnessioneChanged(bool on) {
    Preferences::shared().setUsoSenzaConnessione(on);
    if (on) {
        return;
    }
    // Off: nothing is kept from now on, and what was kept goes.
    if (session()) {
        session()->stopKeepingCopy();
    }
    OfflineCopy::forgetAll(FileUtils::applicationDocumentsDirectory());
}

void InfoViewController::dimenticaDati() {
    auto alert = std::make_shared<ui::AlertView>(
        tr("Dimentica i dati salvati"),
        tr("Eliminare le carte e i movimenti salvati per l'uso senza connessione?"), this,
        std::string(tr("Annulla")), std::vector<std::string>{tr("Elimina")});
    alert->setTag(kForgetAlertTag);
    showAlert(alert);
}

void InfoViewController::alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) {
    if (alert.tag() == kForgetAlertTag) {
        if (index == 1) {
            if (session()) {
                session()->forgetCopy();
            } else {
                OfflineCopy::forgetAll(FileUtils::applicationDocumentsDirectory());
            }
        }
        return;
    }
    if (alert.tag() == kAppearanceAlertTag) {
        if (index >= 0 && index < static_cast<int>(std::size(kAppearanceChoices))) {
            const AppearanceChoice choice = kAppearanceChoices[index];
            Preferences::shared().setAspetto(choice);
            if (auto delegate = VestrinoAppDelegate::shared(); delegate && delegate->appearance()) {
                delegate->appearance()->setChoice(choice);
            }
            showAppearanceChoice();
        }
        return;
    }
    if (alert.tag() != kLockAlertTag) {
        VestrinoVC::alertViewDidDismissWithButtonIndex(alert, index);
        return;
    }
    const auto& choices = Preferences::kLockChoices;
    if (index < 0 || index >= static_cast<int>(std::size(choices))) {
        return;
    }
    Preferences::shared().setBloccoMinuti(choices[index]);
    if (auto delegate = VestrinoAppDelegate::shared()) {
        delegate->applyLockPreference();
    }
    showLockChoice();
}

void InfoViewController::mostraLumaspot() {
    push(std::make_shared<LumaspotViewController>());
}

} // namespace vestrino
