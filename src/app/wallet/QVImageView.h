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
// report; no touch is passed on. A picture inside a scroll view that may still take the touch
// over (a carousel's card) reports its tap when the touch ends instead, after the end report's
// place in the order: a touch that the scroll view takes over is cancelled and taps nothing.
// With the focus, Space and Return report what a touch at its middle would.
class QVImageView : public ui::ImageView {
public:
    using ui::ImageView::ImageView;

    QVImageViewDelegate* delegate() const { return delegate_; }
    void setDelegate(QVImageViewDelegate* delegate) { delegate_ = delegate; }
    bool tapsOnRelease() const { return tapsOnRelease_; }
    void setTapsOnRelease(bool on) { tapsOnRelease_ = on; }

    bool keyDown(ui::KeyCommand key) override;
    void touchesBegan(const ui::Touch& touch) override;
    void touchesMoved(const ui::Touch& touch) override;
    void touchesEnded(const ui::Touch& touch) override;
    void touchesCancelled(const ui::Touch& touch) override;
    std::string className() const override { return "QVImageView"; }
    std::vector<std::string> accessibleActions() const override {
        return userInteractionEnabled() ? std::vector<std::string>{"press"}
                                        : std::vector<std::string>{};
    }
    // Pressed through assistive technology as by the keyboard: a touch lifted where it began.
    bool doAccessibleAction(std::string_view action) override {
        return action == "press" && userInteractionEnabled() && keyDown(ui::KeyCommand::Return);
    }

private:
    QVImageViewDelegate* delegate_ = nullptr;
    bool tapsOnRelease_ = false;
};

} // namespace vestrino
