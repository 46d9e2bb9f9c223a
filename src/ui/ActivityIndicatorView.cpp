#include "ui/ActivityIndicatorView.h"

#include "core/RunLoop.h"

#include <cmath>

namespace vestrino::ui {

ActivityIndicatorView::ActivityIndicatorView() : View(makeRect(0, 0, 37, 37)) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

ActivityIndicatorView::~ActivityIndicatorView() {
    stopAnimating();
}

void ActivityIndicatorView::startAnimating() {
    if (timer_) {
        return;
    }
    setHidden(false);
    timer_ = Timer::scheduledTimer(RunLoop::main(), seconds(1.0 / 12), true, [this](Timer&) {
        step_ = (step_ + 1) % 12;
        setNeedsDisplay();
    });
}

void ActivityIndicatorView::stopAnimating() {
    if (timer_) {
        timer_->invalidate();
        timer_.reset();
    }
    if (hidesWhenStopped_) {
        setHidden(true);
    }
}

void ActivityIndicatorView::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    const Point c = rect.center();
    const double r = std::min(rect.width(), rect.height()) / 2;
    for (int i = 0; i < 12; ++i) {
        const double angle = i * M_PI / 6;
        const double brightness = 0.25 + 0.75 * (((i - step_ + 12) % 12) / 11.0);
        // Each spoke as three small squares along its ray.
        for (int k = 0; k < 3; ++k) {
            const double d = r * (0.45 + 0.18 * k);
            const Point p{c.x + std::sin(angle) * d, c.y - std::cos(angle) * d};
            canvas.fillRect(makeRect(p.x - 1.5, p.y - 1.5, 3, 3),
                            color_.withAlpha(color_.a * static_cast<float>(brightness)));
        }
    }
}

void ActivityIndicatorView::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("animating", isAnimating());
}

} // namespace vestrino::ui
