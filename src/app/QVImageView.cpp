#include "app/QVImageView.h"

namespace vestrino {

void QVImageView::touchesBegan(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTapped(*this);
        delegate_->qvImageViewTouchBegin(*this, touch.locationInView(*this));
    }
}

void QVImageView::touchesMoved(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchMove(*this, touch.locationInView(*this));
    }
}

void QVImageView::touchesEnded(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchEnd(*this, touch.locationInView(*this));
    }
}

void QVImageView::touchesCancelled(const ui::Touch& touch) {
    if (delegate_) {
        delegate_->qvImageViewTouchCancelled(*this, touch.locationInView(*this));
    }
}

} // namespace vestrino
