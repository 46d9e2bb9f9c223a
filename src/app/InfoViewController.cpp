#include "app/InfoViewController.h"
#include "app/ButtonStyle.h"

#include "app/LumaspotViewController.h"
#include "app/Preferences.h"
#include "ui/Switch.h"

namespace vestrino {

ui::LayoutLoader::Actions InfoViewController::layoutActions() {
    return {{"mostraLumaspot", [this](ui::Button&) { mostraLumaspot(); }}};
}

void InfoViewController::bindOutlets() {
    bindOutlet(nascondiImporti_, "nascondiImporti");
    bindOutlet(lumaspotButton_, "lumaspotButton");
}

void InfoViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    nascondiImporti_->setOn(Preferences::shared().nascondiImporti());
    nascondiImporti_->addTarget(
        [](ui::Switch& s) { Preferences::shared().setNascondiImporti(s.isOn()); });
    ButtonStyle::makePrimary(*lumaspotButton_);
}

void InfoViewController::mostraLumaspot() {
    if (auto* nav = navigationController()) {
        nav->pushViewController(std::make_shared<LumaspotViewController>(), true);
    }
}

} // namespace vestrino
