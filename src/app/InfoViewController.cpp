#include "app/InfoViewController.h"
#include "app/ButtonStyle.h"
#include "core/Translation.h"

#include "app/LumaspotViewController.h"
#include "app/Preferences.h"
#include "app/VestrinoAppDelegate.h"
#include "ui/Switch.h"

#include <algorithm>
#include <iterator>

namespace vestrino {

ui::LayoutLoader::Actions InfoViewController::layoutActions() {
    return {{"mostraLumaspot", [this](ui::Button&) { mostraLumaspot(); }},
            {"cambiaBlocco", [this](ui::Button&) { cambiaBlocco(); }}};
}

void InfoViewController::bindOutlets() {
    bindOutlet(nascondiImporti_, "nascondiImporti");
    bindOutlet(lumaspotButton_, "lumaspotButton");
    bindOutlet(bloccoButton_, "bloccoButton");
}

void InfoViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    nascondiImporti_->setOn(Preferences::shared().nascondiImporti());
    nascondiImporti_->addTarget(
        [](ui::Switch& s) { Preferences::shared().setNascondiImporti(s.isOn()); });
    ButtonStyle::makePrimary(*lumaspotButton_);
    ButtonStyle::makeOption(*bloccoButton_);
    showLockChoice();
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
    const auto& choices = Preferences::kLockChoices;
    const int now = Preferences::shared().bloccoMinuti();
    const auto* it = std::find(std::begin(choices), std::end(choices), now);
    const int next =
        (it == std::end(choices) || it + 1 == std::end(choices)) ? choices[0] : *(it + 1);
    Preferences::shared().setBloccoMinuti(next);
    if (auto delegate = VestrinoAppDelegate::shared()) {
        delegate->applyLockPreference();
    }
    showLockChoice();
}

void InfoViewController::mostraLumaspot() {
    if (auto* nav = navigationController()) {
        nav->pushViewController(std::make_shared<LumaspotViewController>(), true);
    }
}

} // namespace vestrino
