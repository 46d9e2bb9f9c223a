#include "ui/ScrollView.h"
#include "ui/LayoutNode.h"

#include "core/RunLoop.h"
#include "ui/Window.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

namespace vestrino::ui {

namespace {

constexpr double kSlop = 10.0;
constexpr double kPageDuration = 0.3;      // a page settles in this time after the finger lifts
constexpr double kAnimationDuration = 0.3; // an animated setContentOffset
constexpr double kBounceDuration = 0.4;
constexpr double kFlickProjection = 0.15; // seconds of the finger's speed a flick carries on
constexpr double kFriction = 2.5;         // per second, for gliding content
constexpr double kRubber = 0.5;           // how far content follows the finger past an edge

std::set<ScrollView*>& moving() {
    static std::set<ScrollView*> set;
    return set;
}

double seconds(Duration d) {
    return std::chrono::duration<double>(d).count();
}

// The page nearest a fractional page position; exactly half way counts for the page before
// (an offset of 1.5 pages is the second page, one point more the third).
int pageNear(double pages) {
    return static_cast<int>(std::ceil(pages - 0.5));
}

double easeOut(double t) {
    return 1 - (1 - t) * (1 - t) * (1 - t);
}

double easeInOut(double t) {
    return t * t * (3 - 2 * t);
}

} // namespace

ScrollView::~ScrollView() {
    moving().erase(this);
}

Point ScrollView::maxOffset() const {
    return {std::max(0.0, contentSize_.width - bounds().width()),
            std::max(0.0, contentSize_.height - bounds().height())};
}

Point ScrollView::clamped(Point o) const {
    const Point m = maxOffset();
    return {std::clamp(o.x, 0.0, m.x), std::clamp(o.y, 0.0, m.y)};
}

bool ScrollView::canScrollAlong(Point delta) const {
    const Point m = maxOffset();
    const bool horizontal = std::abs(delta.x) >= std::abs(delta.y);
    return horizontal ? (m.x > 0 || (bounces_ && contentSize_.width > 0))
                      : (m.y > 0 || (bounces_ && contentSize_.height > 0 && m.x == 0));
}

bool ScrollView::hasRoomAlong(Point delta) const {
    const Point m = maxOffset();
    const Point o = contentOffset();
    // The content moves against the finger.
    if (std::abs(delta.x) >= std::abs(delta.y)) {
        return delta.x < 0 ? o.x < m.x : o.x > 0;
    }
    return delta.y < 0 ? o.y < m.y : o.y > 0;
}

void ScrollView::moveTo(Point offset) {
    if (offset == contentOffset()) {
        return;
    }
    setBoundsOrigin(offset);
    contentOffsetChanged();
    if (delegate_) {
        delegate_->scrollViewDidScroll(*this);
    }
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (motion_) {
        moving().erase(this);
        motion_.reset();
    }
    if (!animated || offset == contentOffset()) {
        moveTo(offset);
        return;
    }
    startMotion({Motion::Animation, contentOffset(), offset, {}, kAnimationDuration, {}, {}});
}

void ScrollView::startMotion(Motion motion) {
    motion.start = RunLoop::main().clock().now();
    motion.lastStep = motion.start;
    motion_ = motion;
    moving().insert(this);
    if (Window* w = window()) {
        w->markDirty();
    }
}

bool ScrollView::tickAll(TimePoint now) {
    // From a copy: delegates start and stop motions.
    const std::vector<ScrollView*> list(moving().begin(), moving().end());
    for (ScrollView* s : list) {
        if (moving().count(s) && !s->step(now)) {
            moving().erase(s);
            s->finishMotion();
        }
    }
    return !moving().empty();
}

bool ScrollView::step(TimePoint now) {
    if (!motion_) {
        return false;
    }
    Motion& m = *motion_;
    if (m.kind == Motion::Glide) {
        // Fixed steps of 1/120 s: the same path whatever the frame rate.
        constexpr double dt = 1.0 / 120;
        while (seconds(now - m.lastStep) >= dt) {
            m.lastStep += std::chrono::duration_cast<Duration>(std::chrono::duration<double>(dt));
            const double decay = std::exp(-kFriction * dt);
            m.velocity = {m.velocity.x * decay, m.velocity.y * decay};
            const Point next{contentOffset().x + m.velocity.x * dt,
                             contentOffset().y + m.velocity.y * dt};
            const Point inside = clamped(next);
            if (inside != next || std::hypot(m.velocity.x, m.velocity.y) < 20) {
                moveTo(inside);
                return false; // at an edge or too slow to go on
            }
            moveTo(next);
        }
        return true;
    }
    const double elapsed = seconds(now - m.start);
    const double t = m.duration - elapsed < 1e-6 ? 1 : std::min(1.0, elapsed / m.duration);
    const double e = m.kind == Motion::Animation ? easeInOut(t) : easeOut(t);
    moveTo(lerp(m.from, m.to, e));
    return t < 1;
}

void ScrollView::finishMotion() {
    if (!motion_) {
        return;
    }
    const Motion m = *motion_;
    motion_.reset();
    if (m.kind == Motion::Animation) {
        moveTo(m.to);
        keepFocusOnPage(contentOffset());
        if (delegate_) {
            delegate_->scrollViewDidEndScrollingAnimation(*this);
        }
        return;
    }
    if (m.kind == Motion::Glide && clamped(contentOffset()) != contentOffset()) {
        startMotion({Motion::Deceleration,
                     contentOffset(),
                     clamped(contentOffset()),
                     {},
                     kBounceDuration,
                     {},
                     {}});
        return;
    }
    if (m.kind == Motion::Deceleration) {
        moveTo(m.to);
    }
    // However the page came (a drag, the wheel, a dot), a focused control is on it.
    keepFocusOnPage(contentOffset());
    if (delegate_) {
        delegate_->scrollViewDidEndDecelerating(*this);
    }
}

Point ScrollView::velocityAt(TimePoint now) const {
    // From the samples of the last 100 ms: a finger that stopped before lifting has no speed.
    std::optional<std::pair<TimePoint, Point>> first;
    for (const auto& s : samples_) {
        if (seconds(now - s.first) <= 0.1) {
            first = s;
            break;
        }
    }
    if (!first || samples_.empty()) {
        return {};
    }
    const auto& last = samples_.back();
    const double dt = seconds(last.first - first->first);
    if (dt <= 0) {
        return {};
    }
    return {(last.second.x - first->second.x) / dt, (last.second.y - first->second.y) / dt};
}

void ScrollView::touchesBegan(const Touch& touch) {
    if (motion_) {
        // A finger on moving content stops it where it is.
        moving().erase(this);
        motion_.reset();
        if (clamped(contentOffset()) != contentOffset()) {
            moveTo(clamped(contentOffset()));
        }
    }
    tracking_ = true;
    dragging_ = false;
    touchStart_ = touch.windowLocation;
    offsetAtStart_ = contentOffset();
    const double w = bounds().width();
    pageAtStart_ = w > 0 ? pageNear(offsetAtStart_.x / w) : 0;
    samples_.clear();
    samples_.emplace_back(touch.timestamp, touch.windowLocation);
}

void ScrollView::touchesMoved(const Touch& touch) {
    if (!tracking_) {
        return;
    }
    samples_.emplace_back(touch.timestamp, touch.windowLocation);
    while (samples_.size() > 32) {
        samples_.pop_front();
    }
    const Point d = touch.windowLocation - touchStart_;
    if (!dragging_ && std::hypot(d.x, d.y) <= kSlop) {
        return;
    }
    dragging_ = true;
    const Point m = maxOffset();
    const bool horizontal = m.x > 0 || contentSize_.width > bounds().width() || m.y == 0;
    Point wanted = offsetAtStart_ - (horizontal ? Point{d.x, 0} : Point{0, d.y});
    if (m.y == 0 && !horizontal) {
        wanted.y = 0;
    }
    if (m.x == 0 && horizontal && contentSize_.width <= bounds().width()) {
        wanted.x = bounces_ ? wanted.x : 0;
    }
    // Past an edge the content follows the finger only partly, or not at all without bounce.
    const Point inside = clamped(wanted);
    const Point over = wanted - inside;
    moveTo(bounces_ ? Point{inside.x + over.x * kRubber, inside.y + over.y * kRubber} : inside);
}

void ScrollView::touchesEnded(const Touch& touch) {
    if (!tracking_) {
        return;
    }
    tracking_ = false;
    if (!dragging_) {
        didTap(touch.locationInView(*this));
        return;
    }
    dragging_ = false;
    samples_.emplace_back(touch.timestamp, touch.windowLocation);
    // The content moves against the finger.
    const Point v = velocityAt(touch.timestamp);
    const Point contentVelocity{-v.x, -v.y};
    const Point offset = contentOffset();
    if (paging_ && bounds().width() > 0) {
        const double w = bounds().width();
        const int pages = std::max(1, static_cast<int>(std::ceil(contentSize_.width / w - 1e-9)));
        const double projected = offset.x + contentVelocity.x * kFlickProjection;
        int page = pageNear(projected / w);
        page = std::clamp(page, pageAtStart_ - 1, pageAtStart_ + 1);
        page = std::clamp(page, 0, pages - 1);
        const Point target = clamped({page * w, offset.y});
        const bool moves = target != offset;
        if (delegate_) {
            delegate_->scrollViewDidEndDragging(*this, moves);
        }
        if (moves) {
            startMotion({Motion::Deceleration, offset, target, {}, kPageDuration, {}, {}});
        }
        return;
    }
    const bool outside = clamped(offset) != offset;
    const bool glides = std::hypot(contentVelocity.x, contentVelocity.y) > 50;
    if (delegate_) {
        delegate_->scrollViewDidEndDragging(*this, outside || glides);
    }
    if (outside) {
        startMotion({Motion::Deceleration, offset, clamped(offset), {}, kBounceDuration, {}, {}});
    } else if (glides) {
        startMotion({Motion::Glide, offset, offset, {}, 0, contentVelocity, {}});
    }
}

bool ScrollView::pageBy(int delta) {
    if (!paging_ || bounds().width() <= 0 || tracking_ || motion_) {
        return false;
    }
    const double w = bounds().width();
    const int pages = std::max(1, static_cast<int>(std::ceil(contentSize_.width / w - 1e-9)));
    const Point offset = contentOffset();
    // A last page narrower than the view rests at the content's end, not on a page boundary:
    // from there, one page back is the page before the last.
    const bool atEnd = offset.x > 0 && offset.x >= maxOffset().x - 0.5;
    const int here = atEnd ? pages - 1 : pageNear(offset.x / w);
    const int page = std::clamp(here + delta, 0, pages - 1);
    const Point target = clamped({page * w, offset.y});
    if (target == offset) {
        return false;
    }
    // As a drag to the next page ends: the same callbacks, the same glide into place.
    if (delegate_) {
        delegate_->scrollViewDidEndDragging(*this, true);
    }
    startMotion({Motion::Deceleration, offset, target, {}, kPageDuration, {}, {}});
    // The focus goes with the page at once, so that Return right after the key chooses what
    // is coming into view and never the page left behind.
    keepFocusOnPage(target);
    return true;
}

void ScrollView::keepFocusOnPage(Point offset) {
    const Window* w = window();
    View* focus = w ? w->firstResponder() : nullptr;
    if (!paging_ || !focus || focus == this || !focus->isDescendantOf(this)) {
        return;
    }
    const Rect page = makeRect(offset.x, offset.y, bounds().width(), bounds().height());
    auto onPage = [&](const View* v) {
        const Rect f = v->convertRectToView(v->bounds(), this);
        return f.minX() >= page.minX() - 0.5 && f.maxX() <= page.maxX() + 0.5;
    };
    if (onPage(focus)) {
        return;
    }
    // The first control of the page in reading order, as Tab would reach it.
    std::function<View*(View*)> first = [&](View* v) -> View* {
        for (const auto& child : v->subviews()) {
            if (child->hidden()) {
                continue;
            }
            if (child->canBecomeFocused() && onPage(child.get())) {
                return child.get();
            }
            if (View* inside = first(child.get())) {
                return inside;
            }
        }
        return nullptr;
    };
    if (View* next = first(this)) {
        next->becomeFirstResponder();
    }
}

bool ScrollView::scrollBy(Point delta) {
    if (tracking_) {
        return false; // the finger holds the content
    }
    const Point target = clamped(contentOffset() + delta);
    if (target == contentOffset()) {
        return false;
    }
    if (motion_) {
        moving().erase(this);
        motion_.reset();
    }
    moveTo(target);
    if (delegate_) {
        // As a short drag that ends where it is: the screens hear of the rest they depend on.
        delegate_->scrollViewDidEndDragging(*this, false);
    }
    return true;
}

bool ScrollView::scrollWheel(Point delta) {
    const Point m = maxOffset();
    // A strip that moves only sideways takes the wheel's up and down as sideways.
    if (m.y == 0 && delta.x == 0 && (m.x > 0 || paging_)) {
        delta = {delta.y, 0};
    }
    if (paging_) {
        if (std::abs(delta.x) < std::abs(delta.y)) {
            return false;
        }
        if (!hasRoomAlong({-delta.x, 0})) {
            wheelTowardsPage_ = 0;
            return false;
        }
        wheelTowardsPage_ += delta.x;
        if (std::abs(wheelTowardsPage_) >= kWheelPage) {
            const int direction = wheelTowardsPage_ > 0 ? 1 : -1;
            wheelTowardsPage_ = 0;
            pageBy(direction);
        }
        return true;
    }
    return scrollBy(delta);
}

bool ScrollView::scrollKey(KeyCommand key) {
    const double line = 40;
    const double page = std::max(line, bounds().height() - line);
    const Point m = maxOffset();
    switch (key) {
    case KeyCommand::Left:
    case KeyCommand::Right:
        return paging_ && pageBy(key == KeyCommand::Left ? -1 : 1);
    case KeyCommand::Up:
        return m.y > 0 && scrollBy({0, -line});
    case KeyCommand::Down:
        return m.y > 0 && scrollBy({0, line});
    case KeyCommand::PageUp:
        return m.y > 0 && scrollBy({0, -page});
    case KeyCommand::PageDown:
        return m.y > 0 && scrollBy({0, page});
    case KeyCommand::Home:
        return m.y > 0 && scrollBy({0, -contentOffset().y});
    case KeyCommand::End:
        return m.y > 0 && scrollBy({0, m.y - contentOffset().y});
    default:
        return false;
    }
}

bool ScrollView::keyDown(KeyCommand key) {
    return scrollKey(key);
}

bool ScrollView::keyDownWithoutFocus(KeyCommand key) {
    if (key == KeyCommand::Left || key == KeyCommand::Right) {
        // Only a carousel wholly on screen pages (not one sliding in or out with its screen).
        const Rect f = convertRectToView(bounds(), nullptr);
        const Window* w = window();
        if (!paging_ || !w || f.minX() < w->bounds().minX() - 1 ||
            f.maxX() > w->bounds().maxX() + 1) {
            return false;
        }
    }
    return scrollKey(key);
}

void ScrollView::scrollRectToVisible(const Rect& rect) {
    if (paging_ && focusTurnsPages_ && bounds().width() > 0 && !tracking_ && !motion_) {
        // The page the rectangle starts on (the last page ends at the content's end).
        const Rect b = bounds();
        if (rect.minX() < b.minX() || rect.maxX() > b.maxX()) {
            const int page = static_cast<int>(std::floor(std::max(0.0, rect.minX()) / b.width()));
            const Point target = clamped({page * b.width(), contentOffset().y});
            if (target != contentOffset()) {
                moveTo(target);
            }
        }
    } else if (!paging_) {
        // The least movement that shows the rectangle (its start when it is larger) in the part
        // that nothing covers (a translucent bar over the top, a line kept over the bottom).
        const Rect b = bounds();
        Point offset = contentOffset();
        auto fit = [](double o, double size, double lo, double hi) {
            if (hi - lo > size || lo < o) {
                return lo;
            }
            return hi > o + size ? hi - size : o;
        };
        offset.x = fit(offset.x, b.width(), rect.minX(), rect.maxX());
        const double covered = coveredTop_ + coveredBottom_;
        offset.y = fit(offset.y + coveredTop_, std::max(0.0, b.height() - covered), rect.minY(),
                       rect.maxY()) -
                   coveredTop_;
        offset = clamped(offset);
        if (offset != contentOffset() && !tracking_) {
            if (motion_) {
                moving().erase(this);
                motion_.reset();
            }
            moveTo(offset);
        }
    }
    View::scrollRectToVisible(rect);
}

void ScrollView::touchesCancelled(const Touch& touch) {
    touchesEnded(touch);
}

void ScrollView::describe(ViewDescription& node) const {
    View::describe(node);
    node.setList("contentOffset", {contentOffset().x, contentOffset().y});
    node.setList("contentSize", {contentSize_.width, contentSize_.height});
}

void ScrollView::applyLayout(const LayoutNode& node) {
    if (node.has("paging"))
        setPagingEnabled(node.boolean("paging"));
    if (node.has("contentSize"))
        setContentSize(node.size("contentSize"));
    View::applyLayout(node);
}

std::vector<std::string> ScrollView::accessibleActions() const {
    if (!paging_ || !userInteractionEnabled()) {
        return {};
    }
    return {"next page", "previous page"};
}

bool ScrollView::doAccessibleAction(std::string_view action) {
    if (!paging_ || !userInteractionEnabled()) {
        return false;
    }
    if (action == "next page") {
        return pageBy(1);
    }
    if (action == "previous page") {
        return pageBy(-1);
    }
    return false;
}

} // namespace vestrino::ui
