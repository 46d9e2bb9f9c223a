#pragma once

#include "ui/ImageView.h"

#include <functional>
#include <memory>

namespace vestrino {

// An image view that shows the service's banner; the picture is resized once to the pixels it
// covers (the service sends one size for every screen). The banner is fetched on a background
// task, never on the main thread: a slow service never holds up a frame or a close.
class UIBannerView : public ui::ImageView {
public:
    using Fetched = std::function<void(std::shared_ptr<ui::UIImage>)>;
    // Fetches the banner in the background and hands the picture (nothing when the service
    // gave none, or one that cannot be decoded) to `done` on the main thread.
    static void fetch(Fetched done);
    // By frame (the start-up splash), with a picture fetched already.
    static std::shared_ptr<UIBannerView> initWithFrame(const ui::Rect& frame,
                                                       std::shared_ptr<ui::UIImage> picture);
    // From a layout: empty at first, the banner shown when it comes (if it comes).
    static std::shared_ptr<UIBannerView> initWithCoder();

    std::string className() const override { return "UIBannerView"; }
};

} // namespace vestrino
