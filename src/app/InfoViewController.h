#pragma once

#include "app/VestrinoVC.h"

namespace vestrino {

// The information screen: a fixed text and the service's banner; selects the toolbar's
// information button. Beside them: the way to the cash machines near a town ("Lumaspot
// vicini") and the switch that hides every amount the application shows ("Nascondi
// importi", remembered).
class InfoViewController : public VestrinoVC {
public:
    std::string layoutName() const override { return "InfoViewController"; }
    std::string className() const override { return "InfoViewController"; }
    Place place() const override { return Place::Info; }
    int getTagOfSelectedButton() override { return kTagInfo; }
    ui::LayoutLoader::Actions layoutActions() override;
    void viewDidLoad() override;

    void mostraLumaspot();
};

} // namespace vestrino
