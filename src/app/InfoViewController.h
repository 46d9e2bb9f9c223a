#pragma once

#include "app/VestrinoVC.h"

namespace vestrino {

// The information screen: a fixed text and the service's banner; selects the toolbar's
// information button.
class InfoViewController : public VestrinoVC {
public:
    std::string layoutName() const override { return "InfoViewController"; }
    std::string className() const override { return "InfoViewController"; }
    int getTagOfSelectedButton() override { return kTagInfo; }
};

} // namespace vestrino
