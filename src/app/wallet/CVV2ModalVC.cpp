#include "app/wallet/CVV2ModalVC.h"
#include "ui/Style.h"
#include "ui/Window.h"

#include "core/Utf8.h"

namespace vestrino {

using namespace ui;

namespace {
constexpr std::size_t kCodeLength = 3;
constexpr Point kRaisedOffset{0, 50};
} // namespace

LayoutLoader::Actions CVV2ModalVC::layoutActions() {
    return {{"btnSave", [this](Button&) { btnSave(); }}};
}

void CVV2ModalVC::bindOutlets() {
    bindOutlet(bgImage_, "bgImage");
    bindOutlet(lblTitolo_, "lblTitolo");
    bindOutlet(lblCVV2_, "lblCVV2");
    bindOutlet(textCVV2_, "textCVV2");
    bindOutlet(scrollView_, "scrollView");
    bindOutlet(btnSave_, "btnSave");
    bindOutlet(pannello_, "pannello");
}

void CVV2ModalVC::viewDidLoad() {
    bgImage_->setDelegate(this);
    textCVV2_->setDelegate(this);
    // The panel is shown above the wallet as an alert is, with the same corners.
    pannello_->setCornerRadius(ui::style::kPanelCornerRadius);
    view()->setAccessibleRole(ui::AccessibleRole::Dialog);
    view()->setAccessibilityLabel(lblTitolo_->text());
}

void CVV2ModalVC::btnSave() {
    if (mDelegate_) {
        mDelegate_->dismissWithCVV2(textCVV2()->text());
    }
}

void CVV2ModalVC::qvImageViewTapped(QVImageView&) {
    if (mDelegate_) {
        mDelegate_->dismissWithCVV2(std::string());
    }
}

bool CVV2ModalVC::textFieldShouldChangeCharacters(TextField& field, std::size_t, std::size_t,
                                                  const std::string& replacement) {
    if (codePointCount(field.text()) >= kCodeLength && !replacement.empty()) {
        field.setText(firstCodePoints(field.text(), kCodeLength));
        return false;
    }
    return true;
}

void CVV2ModalVC::textFieldDidBeginEditing(TextField& field) {
    // Room for an on-screen keyboard; a desktop's keyboard covers nothing.
    if (const Window* w = field.window(); w && w->onScreenKeyboard()) {
        scrollView()->setContentOffset(kRaisedOffset, true);
    }
}

bool CVV2ModalVC::keyDown(KeyCommand key) {
    if (key != KeyCommand::Escape) {
        return false;
    }
    qvImageViewTapped(*bgImage()); // what a touch on the backdrop does
    return true;
}

} // namespace vestrino
