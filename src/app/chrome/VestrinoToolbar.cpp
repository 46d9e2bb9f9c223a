#include "app/chrome/VestrinoToolbar.h"
#include "core/Translation.h"

namespace vestrino {

using namespace ui;

VestrinoToolbar::VestrinoToolbar() : View(makeRect(0, 436, 320, 44)) {
    // The bar draws nothing of its own: the background picture replaces it, and reaches above
    // its top edge.
    setClipsToBounds(false);
    addSubview(imgvContainer());
}

const std::shared_ptr<ImageView>& VestrinoToolbar::imgvContainer() {
    if (!container_) {
        container_ = std::make_shared<ImageView>(UIImage::imageNamed("vestrino_bottom_320.png"));
        container_->setFrame(makeRect(0, -7, 320, 52));
        container_->setClipsToBounds(false);
        container_->setUserInteractionEnabled(true);
        container_->setName("imgvContainer");
    }
    return container_;
}

std::vector<std::shared_ptr<Button>> VestrinoToolbar::buttons() {
    const bool loggedIn = mdelegate_ && mdelegate_->isLoggedIn();
    if (!loggedIn) {
        if (!buttons_.empty() && buttons_[0]->superview() == container_.get()) {
            for (const auto& b : buttons_) {
                b->removeFromSuperview();
            }
        }
        return {};
    }
    if (buttons_.empty()) {
        struct Item {
            int tag;
            Rect frame;
            const char* image;
            const char* selected;
            const char* meaning; // what a screen reader says for the picture
            const char* name;    // what a script taps ("tap @infoButton")
            void (VestrinoToolbar::*action)();
        };
        const Item items[] = {
            {kTagCarte, makeRect(29, 8, 36, 40), "vestrino_menu_carta_320.png",
             "vestrino_menu_carta_selected_320.png", N_("Carte"), "carteButton",
             &VestrinoToolbar::button1},
            {kTagLogout, makeRect(98, 4, 43, 44), "vestrino_menu_logout_320.png",
             "vestrino_menu_logout_selected_320.png", N_("Esci"), "esciButton",
             &VestrinoToolbar::button2},
            {kTagInfo, makeRect(160, 6, 31, 42), "vestrino_menu_info_320.png",
             "vestrino_menu_info_selected_320.png", N_("Informazioni"), "infoButton",
             &VestrinoToolbar::button3},
        };
        for (const auto& s : items) {
            auto b = std::make_shared<Button>(s.frame);
            b->setTag(s.tag);
            b->setName(s.name);
            b->setAccessibilityLabel(tr(s.meaning));
            b->setImage(UIImage::imageNamed(s.image), ControlState::Normal);
            b->setImage(UIImage::imageNamed(s.selected), ControlState::Highlighted);
            b->setImage(UIImage::imageNamed(s.selected), ControlState::Selected);
            b->addTarget([this, action = s.action](Button&) { (this->*action)(); });
            buttons_.push_back(b);
        }
    }
    if (buttons_[0]->superview() != container_.get()) {
        for (const auto& b : buttons_) {
            if (b->superview() != container_.get()) {
                container_->addSubview(b);
            }
        }
    }
    return buttons_;
}

void VestrinoToolbar::refreshButtons() {
    const int selected = mdelegate_ ? mdelegate_->getTagOfSelectedButton() : 0;
    for (const auto& b : buttons()) {
        b->setSelected(b->tag() == selected);
    }
}

void VestrinoToolbar::button1() {
    if (mdelegate_) {
        mdelegate_->showCarte();
    }
}

void VestrinoToolbar::button2() {
    if (mdelegate_) {
        mdelegate_->showLogout();
    }
}

void VestrinoToolbar::button3() {
    if (mdelegate_) {
        mdelegate_->showInfo();
    }
}

} // namespace vestrino
