#include "app/wallet/QVPageControlView.h"

namespace vestrino {

using namespace ui;

QVPageControlView::QVPageControlView(const Rect& frame)
    : View(frame), imgBulletOff_(UIImage::imageNamed("vestrino_interface_pallino_giallo_320.png")),
      imgBulletOn_(UIImage::imageNamed("vestrino_interface_pallino_blu_320.png")) {
    // Made from a layout, the indicator has no size yet: its dots wait for one, or they would
    // sit around a middle of (0, 0) for good.
    if (!frame.isEmpty()) {
        layoutBullets();
    }
}

void QVPageControlView::layoutSubviews() {
    if (bulletDict_.empty()) {
        layoutBullets();
    }
}

void QVPageControlView::setNumberOfPages(std::uint32_t n) {
    numberOfPages_ = n;
    layoutBullets();
    setNeedsDisplay();
}

void QVPageControlView::setSelectedPage(std::uint32_t page) {
    selectedPage_ = page;
    layoutBullets();
    setNeedsDisplay();
}

void QVPageControlView::layoutBullets() {
    const auto n = static_cast<int>(numberOfPages_);
    const int x0 = static_cast<int>(frame().width() * 0.5) - 14 * (n / 2) - (n % 2 ? 7 : 0);
    const int y0 = static_cast<int>(frame().height() * 0.5 - 7);
    if (bulletDict_.size() != numberOfPages_) {
        for (const auto& v : std::vector<std::shared_ptr<View>>(subviews())) {
            v->removeFromSuperview();
        }
        bulletDict_.clear();
        for (int i = 0; i < n; ++i) {
            auto dot = std::make_shared<ImageView>(makeRect(x0 + 14 * i, y0, 7, 7));
            dot->setImage(static_cast<std::uint32_t>(i) + 1 == selectedPage_ ? imgBulletOn_
                                                                             : imgBulletOff_);
            dot->setContentMode(ContentMode::Center);
            dot->setTag(i + 1);
            bulletDict_[static_cast<std::uint32_t>(i)] = dot;
            addSubview(dot);
        }
        return;
    }
    for (const auto& v : subviews()) {
        if (auto* dot = dynamic_cast<ImageView*>(v.get())) {
            dot->setImage(static_cast<std::uint32_t>(dot->tag()) == selectedPage_ ? imgBulletOn_
                                                                                  : imgBulletOff_);
        }
    }
}

void QVPageControlView::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
}

void QVPageControlView::touchesBegan(const Touch& touch) {
    if (!delegate_) {
        return;
    }
    const Point p = touch.locationInView(*this);
    for (const auto& v : std::vector<std::shared_ptr<View>>(subviews())) {
        const Rect f = v->frame();
        if (p.x >= f.minX() && p.x < f.maxX() && p.y >= f.minY() && p.y < f.maxY()) {
            const int page = v->tag();
            delegate_->qvPageControlPageChanged(*this, page);
            setSelectedPage(static_cast<std::uint32_t>(page));
        }
    }
}

void QVPageControlView::describe(ui::ViewDescription& node) const {
    View::describe(node);
    node.set("numberOfPages", static_cast<long long>(numberOfPages_));
    node.set("selectedPage", static_cast<long long>(selectedPage_));
}

} // namespace vestrino
