#pragma once

#include "app/wallet/CVV2ModalDelegate.h"
#include "app/wallet/QVImageView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

namespace vestrino {

// Asks for the three-character security code of an anonymous card before its statement is
// requested. The owner lays the dialog's view over its own and removes it; the dialog never
// closes itself and knows nothing of cards or requests: every way out reports a text to the
// delegate (the empty text when the backdrop is touched). It sends nothing of its own: the
// service only ever gets what the person typed.
class CVV2ModalVC : public ui::ViewController,
                    public QVImageViewDelegate,
                    public ui::TextFieldDelegate {
public:
    std::string layoutName() const override { return "CVV2ModalVC"; }
    std::string className() const override { return "CVV2ModalVC"; }
    ui::LayoutLoader::Actions layoutActions() override;

    CVV2ModalDelegate* mDelegate() const { return mDelegate_; }
    void setMDelegate(CVV2ModalDelegate* delegate) { mDelegate_ = delegate; }

    void viewDidLoad() override;

    // The save button: the field's text as it stands.
    void btnSave();
    // A touch on the backdrop cancels.
    void qvImageViewTapped(QVImageView& view) override;

    // The length rule, on the text before the edit: with three or more characters in the
    // field, a non-empty edit cuts the text back to its first three and is refused.
    bool textFieldShouldChangeCharacters(ui::TextField& field, std::size_t location,
                                         std::size_t length,
                                         const std::string& replacement) override;
    void textFieldDidBeginEditing(ui::TextField& field) override;
    // Escape closes the dialog as a touch on its backdrop does.
    bool keyDown(ui::KeyCommand key) override;
    // Return is accepted and does nothing else.
    bool textFieldShouldReturn(ui::TextField&) override { return true; }
    bool textFieldShouldEndEditing(ui::TextField&) override { return true; }

    void bindOutlets() override;

    const std::shared_ptr<QVImageView>& bgImage() const { return bgImage_; }
    const std::shared_ptr<ui::Label>& lblTitolo() const { return lblTitolo_; }
    const std::shared_ptr<ui::Label>& lblCVV2() const { return lblCVV2_; }
    const std::shared_ptr<ui::TextField>& textCVV2() const { return textCVV2_; }
    const std::shared_ptr<ui::ScrollView>& scrollView() const { return scrollView_; }
    const std::shared_ptr<ui::Button>& btnSaveButton() const { return btnSave_; }

private:
    // The layout's controls, bound once when the view loads.
    std::shared_ptr<QVImageView> bgImage_;
    std::shared_ptr<ui::Label> lblTitolo_, lblCVV2_;
    std::shared_ptr<ui::TextField> textCVV2_;
    std::shared_ptr<ui::ScrollView> scrollView_;
    std::shared_ptr<ui::Button> btnSave_;
    std::shared_ptr<ui::View> pannello_;

    CVV2ModalDelegate* mDelegate_ = nullptr;
};

} // namespace vestrino
