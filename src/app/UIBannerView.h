#pragma once

#include "ui/ImageView.h"

namespace vestrino {

// An image view that shows the service's banner, fetched (blocking) when it is made; the
// picture is resized once to the pixels it covers (the service sends one size for every
// screen).
class UIBannerView : public ui::ImageView {
public:
    // By frame (the start-up splash): no view at all when there is no banner.
    static std::shared_ptr<UIBannerView> initWithFrame(const ui::Rect& frame);
    // From a layout: an empty picture when there is no banner.
    static std::shared_ptr<UIBannerView> initWithCoder();

    std::string className() const override { return "UIBannerView"; }
};

} // namespace vestrino
