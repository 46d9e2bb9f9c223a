#include "app/InfoViewController.h"
#include "app/ButtonStyle.h"

#include "app/LumaspotViewController.h"
#include "app/Preferences.h"
#include "ui/Switch.h"

namespace vestrino {

ui::LayoutLoader::Actions InfoViewController::layoutActions() {
    return {{"mostraLumaspot", [this](ui::Button&) { mostraLumaspot(); }}};
}

void InfoViewController::viewDidLoad() {
    VestrinoVC::viewDidLoad();
    if (auto hide = std::dynamic_pointer_cast<ui::Switch>(outlet("nascondiImporti"))) {
        hide->setOn(Preferences::shared().nascondiImporti());
        hide->addTarget([](ui::Switch& s) { Preferences::shared().setNascondiImporti(s.isOn()); });
    }
    if (const auto lumaspot = std::dynamic_pointer_cast<ui::Button>(outlet("lumaspotButton"))) {
        ButtonStyle::makePrimary(*lumaspot);
    }
}

void InfoViewController::mostraLumaspot() {
    if (auto* nav = navigationController()) {
        nav->pushViewController(std::make_shared<LumaspotViewController>(), true);
    }
}

} // namespace vestrino
