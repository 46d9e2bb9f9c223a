#include "app/wallet/Cvv2Flow.h"

#include "core/Utf8.h"
#include "ui/Animator.h"
#include "ui/Window.h"

#include <utility>

namespace vestrino {

namespace {
constexpr double kDialogFade = 0.25;
}

bool Cvv2Flow::isComplete(const std::string& cvv2) {
    return codePointCount(cvv2) == kLength;
}

void Cvv2Flow::setBarsInteraction(bool enabled) {
    if (nav_) {
        nav_->toolbar()->setUserInteractionEnabled(enabled);
        nav_->navigationBar()->setUserInteractionEnabled(enabled);
    }
}

void Cvv2Flow::open(const std::shared_ptr<ui::View>& host, ui::NavigationController* nav,
                    CVV2ModalDelegate* delegate) {
    host_ = host;
    nav_ = nav;
    setBarsInteraction(false);
    auto dialog = std::make_shared<CVV2ModalVC>();
    dialog_ = dialog;
    dialog->setMDelegate(delegate);
    auto dialogView = dialog->view();
    dialogView->setFrame(host->bounds()); // the whole screen, however tall
    dialogView->setAlpha(0);
    ui::Animator::shared().animate({.duration = kDialogFade, .name = "cvv2show"}, [&] {
        host->addSubview(dialogView);
        dialogView->setAlpha(1);
    });
    // Every touch, key and text goes to the dialog until it has gone.
    if (ui::Window* w = dialogView->window()) {
        w->beginModal(dialogView.get());
        // With a keyboard of the desktop's own the code can be typed at once. An on-screen
        // keyboard opens only when the person touches the field (it would cover the dialog).
        if (!w->onScreenKeyboard()) {
            dialog->textCVV2()->becomeFirstResponder();
        }
    }
}

void Cvv2Flow::close(std::function<void()> closed) {
    if (!dialog_) {
        return;
    }
    auto dialog = dialog_;
    auto dialogView = dialog->view();
    std::weak_ptr<Cvv2Flow> weak = shared_from_this();
    ui::Animator::shared().animate(
        {.duration = kDialogFade, .name = "cvv2hide"},
        [&] {
            if (auto host = host_.lock()) {
                host->bringSubviewToFront(dialogView.get());
            }
            dialogView->setAlpha(0);
        },
        [weak, dialog, closed = std::move(closed)](bool) {
            if (auto self = weak.lock()) {
                self->faded(dialog, closed);
            }
        });
}

void Cvv2Flow::closeNow() {
    if (!dialog_) {
        return;
    }
    const auto dialog = std::exchange(dialog_, nullptr);
    dialog->view()->removeFromSuperview(); // the window lets go of its input hold with it
    setBarsInteraction(true);
}

void Cvv2Flow::faded(const std::shared_ptr<CVV2ModalVC>& dialog,
                     const std::function<void()>& closed) {
    dialog->view()->removeFromSuperview();
    if (dialog_ != dialog) {
        return; // an earlier answer of the same dialog has already closed it
    }
    dialog_.reset();
    setBarsInteraction(true);
    closed();
}

} // namespace vestrino
