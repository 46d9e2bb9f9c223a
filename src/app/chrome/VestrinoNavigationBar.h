#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"

namespace vestrino {

class VestrinoVC;

// The top bar's look: the header picture (tag -2909) and an image back button inside it (tag
// -2877), shown only when the visible screen asks for it, and forwarded to that screen.
class VestrinoNavigationBar : public ui::View {
public:
    static constexpr int kHeaderTag = -2909;
    static constexpr int kBackButtonTag = -2877;

    VestrinoNavigationBar();

    // What the bar's drawing does: makes sure the two views exist, then shows or hides the back
    // button for the visible screen (nothing when it is not a VestrinoVC).
    void redraw(VestrinoVC* visible);
    void backButtonPressed();
    // Whether "Indietro" is on the bar now and takes touches (what Escape stands for).
    bool backButtonShown();

    std::shared_ptr<ui::ImageView> createImageViewBG();
    std::shared_ptr<ui::Button> createBackButton();
    std::string className() const override { return "VestrinoNavigationBar"; }

private:
    VestrinoVC* visible_ = nullptr;
};

} // namespace vestrino
