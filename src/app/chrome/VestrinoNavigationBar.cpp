#include "app/chrome/VestrinoNavigationBar.h"
#include "core/Translation.h"

#include "app/chrome/VestrinoVC.h"

namespace vestrino {

using namespace ui;

VestrinoNavigationBar::VestrinoNavigationBar() : View(makeRect(0, 0, 320, 44)) {
    setClipsToBounds(false);
}

std::shared_ptr<ImageView> VestrinoNavigationBar::createImageViewBG() {
    auto header = std::make_shared<ImageView>(UIImage::imageNamed("vestrino_head_320.png"));
    header->setFrame(makeRect(0, 0, 320, 55));
    header->setTag(kHeaderTag);
    header->setClipsToBounds(false);
    header->setUserInteractionEnabled(true);
    return header;
}

std::shared_ptr<Button> VestrinoNavigationBar::createBackButton() {
    auto back = std::make_shared<Button>(makeRect(233, 0, 88, 41));
    back->setTag(kBackButtonTag);
    back->setName("indietroButton");
    back->setAccessibilityLabel(tr("Indietro"));
    back->setImage(UIImage::imageNamed("vestrino_indietro_320.png"), ControlState::Normal);
    back->setImage(UIImage::imageNamed("vestrino_indietro_320_selected.png"),
                   ControlState::Highlighted);
    back->setImage(UIImage::imageNamed("vestrino_indietro_320_selected.png"),
                   ControlState::Selected);
    back->addTarget([this](Button&) { backButtonPressed(); });
    back->setHidden(true);
    return back;
}

void VestrinoNavigationBar::redraw(VestrinoVC* visible) {
    visible_ = visible;
    View* header = nullptr;
    for (const auto& v : subviews()) {
        if (v->tag() == kHeaderTag) {
            header = v.get();
        }
    }
    if (!header) {
        auto created = createImageViewBG();
        header = created.get();
        addSubview(created);
    }
    View* back = viewWithTag(kBackButtonTag);
    if (!back) {
        auto created = createBackButton();
        back = created.get();
        header->addSubview(created);
    }
    back->setHidden(!(visible && visible->isBackButtonRequired()));
}

bool VestrinoNavigationBar::backButtonShown() {
    const View* back = viewWithTag(kBackButtonTag);
    return back && !back->hidden() && userInteractionEnabled() && !hidden();
}

void VestrinoNavigationBar::backButtonPressed() {
    if (visible_) {
        visible_->backButtonPressed();
    }
}

} // namespace vestrino
