#include "app/wallet/QVImageView.h"

namespace vestrino {

void QVImageView::touchesBegan(const ui::Touch& touch) {
    if (delegate_) {
        if (!tapsOnRelease_) {
            delegate_->qvImageViewTapped(*this);
        }
        delegate_->qvImageViewTouchBegin(*this, touch.locationInView(*this));
    }
}

bool QVImageView::keyDown(ui::KeyCommand key) {
    if (key != ui::KeyCommand::Space && key != ui::KeyCommand::Return) {
        return false;
    }
    // The same reports, in the same order, as a finger lifted where it came down.
    const ui::Point middle = convertPointToView(bounds().center(), nullptr);
    const ui::Touch touch{middle, middle, {}};
    touchesBegan(touch);
    touchesEnded(touch);
    return true;
}

void QVImageView::touchesMoved(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchMove(*this, touch.locationInView(*this));
    }
}

void QVImageView::touchesEnded(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchEnd(*this, touch.locationInView(*this));
        if (tapsOnRelease_) {
            delegate_->qvImageViewTapped(*this);
        }
    }
}

void QVImageView::touchesCancelled(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchCancelled(*this, touch.locationInView(*this));
    }
}

} // namespace vestrino
