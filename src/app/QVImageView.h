#pragma once

#include "ui/ImageView.h"

namespace vestrino {

class QVImageView;

// All optional: a delegate overrides what it wants.
class QVImageViewDelegate {
public:
    virtual ~QVImageViewDelegate() = default;
    virtual void qvImageViewTouchCancelled(QVImageView&, ui::Point) {}
    virtual void qvImageViewTouchEnd(QVImageView&, ui::Point) {}
    virtual void qvImageViewTouchMove(QVImageView&, ui::Point) {}
    virtual void qvImageViewTouchBegin(QVImageView&, ui::Point) {}
    virtual void qvImageViewTapped(QVImageView&) {}
};

// An image view that reports touches to its delegate: the tap at touch-down, before the begin
// report; no touch is passed on.
class QVImageView : public ui::ImageView {
public:
    using ui::ImageView::ImageView;

    QVImageViewDelegate* delegate() const { return delegate_; }
    void setDelegate(QVImageViewDelegate* delegate) { delegate_ = delegate; }

    void touchesBegan(const ui::Touch& touch) override;
    void touchesMoved(const ui::Touch& touch) override;
    void touchesEnded(const ui::Touch& touch) override;
    void touchesCancelled(const ui::Touch& touch) override;
    std::string className() const override { return "QVImageView"; }

private:
    QVImageViewDelegate* delegate_ = nullptr;
};

} // namespace vestrino
