#include "ui/View.h"

#include "ui/LayoutNode.h"

#include <map>

#include "ui/Animator.h"
#include "ui/Style.h"
#include "ui/ViewController.h"
#include "ui/Window.h"

#include <algorithm>

namespace vestrino::ui {

namespace {
// Words one after the other, a space between each.
std::string joinedWords(const std::vector<std::string>& words) {
    std::string joined;
    for (const auto& w : words) {
        joined += (joined.empty() ? "" : " ") + w;
    }
    return joined;
}
} // namespace

Point Touch::locationInView(const View& view) const {
    return view.convertPointFromView(windowLocation, nullptr);
}

View::View() = default;

View::View(const Rect& frame) : frame_(frame), presentationFrame_(frame) {}

View::~View() {
    Animator::shared().forget(*this);
    // The children outlive this view only if someone else holds them: they are in no window
    // now. The window itself may be what is being destroyed, so it is not told.
    for (const auto& v : subviews_) {
        v->superview_ = nullptr;
        v->forgetWindow();
    }
}

void View::forgetWindow() {
    window_ = nullptr;
    for (const auto& v : subviews_) {
        v->forgetWindow();
    }
}

void View::setFrame(const Rect& frame) {
    const Rect old = frame_;
    frame_ = frame;
    if (Animator::shared().inAnimationBlock()) {
        if (old != frame) {
            Animator::shared().frameChanged(*this, old, frame);
        }
    } else {
        Animator::shared().propertySetDirectly(*this, true);
        presentationFrame_ = frame;
    }
    if (old.size != frame.size) {
        for (const auto& v : std::vector<std::shared_ptr<View>>(subviews_)) {
            if (v->autoresizingMask_ != kAutoresizeNone) {
                v->setFrame(v->autoresizedFrame(old.size, frame.size));
            }
        }
        layoutSubviews();
        if (viewController_) {
            viewController_->viewDidLayoutSubviews();
        }
    }
    setNeedsDisplay();
}

namespace {

// One axis: the margin before, the size and the margin after, given the superview's change.
void shareChange(double delta, bool flexBefore, bool flexSize, bool flexAfter, double& before,
                 double& size, double& after) {
    const double parts[3] = {flexBefore ? before : 0, flexSize ? size : 0, flexAfter ? after : 0};
    const int flexible = int(flexBefore) + int(flexSize) + int(flexAfter);
    if (flexible == 0 || delta == 0) {
        return;
    }
    const double total =
        std::max(0.0, parts[0]) + std::max(0.0, parts[1]) + std::max(0.0, parts[2]);
    auto share = [&](bool flex, double part) {
        if (!flex) {
            return 0.0;
        }
        return total > 0 ? delta * std::max(0.0, part) / total : delta / flexible;
    };
    const double b = share(flexBefore, parts[0]), s = share(flexSize, parts[1]),
                 a = share(flexAfter, parts[2]);
    before += b;
    size += s;
    after += a;
}

} // namespace

Rect View::autoresizedFrame(Size oldSize, Size newSize) const {
    const unsigned m = autoresizingMask_;
    double left = frame_.minX(), width = frame_.width(), right = oldSize.width - frame_.maxX();
    double top = frame_.minY(), height = frame_.height(), bottom = oldSize.height - frame_.maxY();
    shareChange(newSize.width - oldSize.width, m & kFlexibleLeftMargin, m & kFlexibleWidth,
                m & kFlexibleRightMargin, left, width, right);
    shareChange(newSize.height - oldSize.height, m & kFlexibleTopMargin, m & kFlexibleHeight,
                m & kFlexibleBottomMargin, top, height, bottom);
    return makeRect(left, top, std::max(0.0, width), std::max(0.0, height));
}

void View::setBoundsOrigin(Point origin) {
    boundsOrigin_ = origin;
    setNeedsDisplay();
}

void View::setCenter(Point c) {
    setFrame({{c.x - frame_.width() / 2, c.y - frame_.height() / 2}, frame_.size});
}

void View::setAlpha(double alpha) {
    const double old = alpha_;
    alpha_ = alpha;
    if (Animator::shared().inAnimationBlock()) {
        if (old != alpha) {
            Animator::shared().alphaChanged(*this, old, alpha);
        }
    } else {
        Animator::shared().propertySetDirectly(*this, false);
        presentationAlpha_ = alpha;
    }
    setNeedsDisplay();
}

void View::setPresentationFrame(const Rect& frame) {
    presentationFrame_ = frame;
    setNeedsDisplay();
}

void View::setPresentationAlpha(double alpha) {
    presentationAlpha_ = alpha;
    setNeedsDisplay();
}

void View::setHidden(bool hidden) {
    hidden_ = hidden;
    setNeedsDisplay();
}

void View::setBackgroundColor(std::optional<Color> color) {
    backgroundColor_ = color;
    setNeedsDisplay();
}

void View::setContentMode(ContentMode mode) {
    contentMode_ = mode;
    setNeedsDisplay();
}

void View::addSubview(std::shared_ptr<View> view) {
    insertSubview(std::move(view), subviews_.size());
}

void View::insertSubview(std::shared_ptr<View> view, std::size_t index) {
    if (!view || view.get() == this) {
        return;
    }
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.insert(
        subviews_.begin() + static_cast<std::ptrdiff_t>(std::min(index, subviews_.size())), view);
    view->setWindowRecursively(window_ ? window_ : dynamic_cast<Window*>(this));
    setNeedsDisplay();
}

void View::bringSubviewToFront(View* view) {
    const auto it = std::find_if(subviews_.begin(), subviews_.end(),
                                 [&](const auto& v) { return v.get() == view; });
    if (it != subviews_.end()) {
        auto keep = *it;
        subviews_.erase(it);
        subviews_.push_back(std::move(keep));
        setNeedsDisplay();
    }
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) {
        return;
    }
    auto keep = shared_from_this(); // alive until this function returns
    parent->setNeedsDisplay();
    std::erase_if(parent->subviews_, [this](const auto& v) { return v.get() == this; });
    superview_ = nullptr;
    setWindowRecursively(nullptr);
}

void View::setWindowRecursively(Window* window) {
    if (window_ != window) {
        if (window_) {
            window_->viewLeaving(this);
        }
        window_ = window;
        didMoveToWindow();
    }
    for (const auto& v : subviews_) {
        v->setWindowRecursively(window);
    }
}

View* View::viewWithTag(int tag) {
    if (tag_ == tag) {
        return this;
    }
    for (const auto& v : subviews_) {
        if (View* found = v->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

Window* View::window() const {
    return window_ ? window_ : dynamic_cast<Window*>(const_cast<View*>(this));
}

bool View::isDescendantOf(const View* ancestor) const {
    for (const View* v = this; v; v = v->superview_) {
        if (v == ancestor) {
            return true;
        }
    }
    return false;
}

bool View::pointInside(Point point) const {
    return bounds().contains(point);
}

View* View::hitTest(Point point) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ <= 0.01 || !pointInside(point)) {
        return nullptr;
    }
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        const View& child = **it;
        const Point inChild = point - child.frame_.origin + child.boundsOrigin_;
        if (View* hit = (*it)->hitTest(inChild)) {
            return hit;
        }
    }
    return this;
}

// A point of this view in the coordinates of its top-most ancestor (the window).
static Point toRoot(const View* v, Point p) {
    for (; v; v = v->superview()) {
        p = p - v->bounds().origin + v->frame().origin;
        if (!v->superview() && dynamic_cast<const Window*>(v)) {
            p = p - v->frame().origin; // the window's own origin is the screen's
        }
    }
    return p;
}

Point View::convertPointToView(Point point, const View* other) const {
    const Point root = toRoot(this, point);
    return other ? root - toRoot(other, {0, 0}) : root;
}

Point View::convertPointFromView(Point point, const View* other) const {
    const Point root = other ? toRoot(other, point) : point;
    return root - toRoot(this, {0, 0});
}

Rect View::convertRectToView(const Rect& rect, const View* other) const {
    return {convertPointToView(rect.origin, other), rect.size};
}

Rect View::windowFrame() const {
    return {toRoot(this, boundsOrigin_), frame_.size};
}

void View::setNeedsDisplay() {
    if (Window* w = window()) {
        w->markDirty();
    }
}

void View::drawTree(Canvas& canvas, Point origin) {
    if (hidden_ || presentationAlpha_ <= 0.01) {
        return;
    }
    const Rect rect{origin, presentationFrame_.size};
    const bool fade = presentationAlpha_ < 0.999;
    if (fade) {
        canvas.pushOpacity(presentationAlpha_);
    }
    if (clipsToBounds_) {
        canvas.pushClip(rect);
    }
    draw(canvas, rect);
    for (const auto& child : std::vector<std::shared_ptr<View>>(subviews_)) {
        child->drawTree(canvas, origin - boundsOrigin_ + child->presentationFrame_.origin);
    }
    if (clipsToBounds_) {
        canvas.popClip();
    }
    if (showsFocus()) {
        drawFocusRing(canvas, rect);
    }
    if (fade) {
        canvas.popOpacity();
    }
}

void View::draw(Canvas& canvas, const Rect& rect) {
    if (backgroundColor_ && backgroundColor_->a > 0) {
        if (cornerRadius_ > 0) {
            canvas.fillRoundedRect(rect, cornerRadius_, *backgroundColor_);
        } else {
            canvas.fillRect(rect, *backgroundColor_);
        }
    }
    if (borderWidth_ > 0 && borderColor_.a > 0) {
        canvas.strokeRoundedRect(rect, cornerRadius_, borderWidth_, borderColor_);
    }
}

Responder* View::nextResponder() const {
    if (viewController_) {
        return viewController_;
    }
    return superview_;
}

void View::scrollRectToVisible(const Rect& rect) {
    if (superview_) {
        superview_->scrollRectToVisible({rect.origin + frame_.origin - boundsOrigin_, rect.size});
    }
}

bool View::isFirstResponder() const {
    const Window* w = window();
    return w && w->firstResponder() == this;
}

bool View::showsFocus() const {
    const Window* w = window();
    return w && w->firstResponder() == this && w->focusInUse();
}

bool View::becomeFirstResponder() {
    Window* w = window();
    if (!w || !canBecomeFocused()) {
        return false;
    }
    return w->setFirstResponder(this);
}

bool View::resignFirstResponder() {
    if (Window* w = window(); w && w->firstResponder() == this) {
        w->clearFirstResponder();
        setNeedsDisplay();
    }
    return true;
}

Rect View::focusRingRect(const Rect& rect) const {
    constexpr double kOutset = 3;
    return makeRect(rect.minX() - kOutset, rect.minY() - kOutset, rect.width() + 2 * kOutset,
                    rect.height() + 2 * kOutset);
}

void View::drawFocusRing(Canvas& canvas, const Rect& rect) {
    Rect ring = focusRingRect(rect);
    // A control at the screen's edge keeps its whole ring on the screen.
    if (const Window* w = window()) {
        const Rect inside =
            ring.intersection(makeRect(1, 1, w->bounds().width() - 2, w->bounds().height() - 2));
        ring = inside.isEmpty() ? ring : inside;
    }
    const double radius = std::min(std::max(cornerRadius_ + 3, 6.0), ring.height() / 2);
    const Rect halo =
        makeRect(ring.minX() - 1, ring.minY() - 1, ring.width() + 2, ring.height() + 2);
    canvas.strokeRoundedRect(halo, radius + 1, 1, style::kFocusRingHalo);
    canvas.strokeRoundedRect(ring, radius, style::kFocusRingWidth, style::kFocusRing);
}

void View::touchesBegan(const Touch& touch) {
    if (superview_) {
        superview_->touchesBegan(touch);
    }
}

void View::touchesMoved(const Touch& touch) {
    if (superview_) {
        superview_->touchesMoved(touch);
    }
}

void View::touchesEnded(const Touch& touch) {
    if (superview_) {
        superview_->touchesEnded(touch);
    }
}

void View::touchesCancelled(const Touch& touch) {
    if (superview_) {
        superview_->touchesCancelled(touch);
    }
}

Color View::paintedColor(const Color& color) const {
    return (window_ ? window_->palette() : Palette::light()).resolve(color);
}

void View::describe(ViewDescription& node) const {
    node.set("class", className());
    node.set("name", name_.empty() ? ViewDescription::Value(nullptr) : name_);
    node.set("tag", tag_);
    node.setRect("frame", frame_);
    node.setRect("windowFrame", windowFrame());
    node.set("alpha", alpha_);
    node.set("hidden", hidden_);
    node.set("interaction", userInteractionEnabled_);
    if (backgroundColor_) {
        node.setColor("backgroundColor", paintedColor(*backgroundColor_));
    }
    if (cornerRadius_ > 0) {
        node.set("cornerRadius", cornerRadius_);
    }
    // What assistive technology is told, for views it sees; an empty role for a view that a
    // person can touch but that is kept from it on purpose (a backdrop that ends editing).
    if (accessibleRole_ == AccessibleRole::None) {
        node.set("role", std::string());
    } else if (const AccessibleRole role = accessibleRole(); role != AccessibleRole::None) {
        node.set("role", std::string(accessibleRoleName(role)));
        node.set("accessibleName", accessibleName());
        if (const std::string d = accessibleDescription(); !d.empty()) {
            node.set("accessibleDescription", d);
        }
        if (const std::string actions = joinedWords(accessibleActions()); !actions.empty()) {
            node.set("actions", actions);
        }
        node.set("states", joinedWords(accessibleStates().names()));
    }
}

AccessibleStates View::accessibleStates() const {
    AccessibleStates s;
    s.enabled = userInteractionEnabled_;
    s.focusable = isFocusable();
    s.focused = isFirstResponder();
    s.selected = accessibleSelected_;
    s.modal = accessibleRole() == AccessibleRole::Dialog; // the application's dialogs are all modal
    s.visible = true;
    for (const View* v = this; v; v = v->superview_) {
        s.visible = s.visible && !v->hidden_ && v->alpha_ > 0;
    }
    // The window itself has no window of its own.
    const View* window = window_ ? window_ : (superview_ ? nullptr : this);
    if (window && dynamic_cast<const Window*>(window)) {
        const Rect r = windowFrame(), w = window->bounds();
        s.showing = s.visible && r.minX() < w.maxX() && r.maxX() > w.minX() &&
                    r.minY() < w.maxY() && r.maxY() > w.minY();
    } else {
        s.showing = false;
    }
    return s;
}

void View::applyLayout(const LayoutNode& node) {
    if (node.has("frame"))
        setFrame(node.rect("frame"));
    if (node.has("tag"))
        setTag(node.integer("tag"));
    if (node.has("alpha"))
        setAlpha(node.number("alpha"));
    if (node.has("hidden"))
        setHidden(node.boolean("hidden"));
    if (node.has("clipsToBounds"))
        setClipsToBounds(node.boolean("clipsToBounds"));
    if (node.has("interaction"))
        setUserInteractionEnabled(node.boolean("interaction"));
    if (node.has("focusable"))
        setFocusable(node.boolean("focusable"));
    if (node.has("accessibilityLabel"))
        setAccessibilityLabel(node.words("accessibilityLabel"));
    if (node.has("accessibleRole")) {
        std::map<std::string, AccessibleRole> roles;
        for (int r = 0; r <= static_cast<int>(AccessibleRole::ToolBar); ++r) {
            roles.emplace(accessibleRoleName(static_cast<AccessibleRole>(r)),
                          static_cast<AccessibleRole>(r));
        }
        setAccessibleRole(node.choice("accessibleRole", roles));
    }
    if (node.has("autoresizing")) {
        // The parts that follow the superview's size.
        static const std::map<std::string, unsigned> kParts{
            {"flexibleLeftMargin", kFlexibleLeftMargin},
            {"flexibleWidth", kFlexibleWidth},
            {"flexibleRightMargin", kFlexibleRightMargin},
            {"flexibleTopMargin", kFlexibleTopMargin},
            {"flexibleHeight", kFlexibleHeight},
            {"flexibleBottomMargin", kFlexibleBottomMargin},
        };
        unsigned mask = kAutoresizeNone;
        for (const auto& part : node.texts("autoresizing")) {
            const auto bit = kParts.find(part);
            if (bit == kParts.end()) {
                node.fail("autoresizing", "no such part \"" + part + "\"");
            }
            mask |= bit->second;
        }
        setAutoresizingMask(mask);
    }
    if (node.has("backgroundColor"))
        setBackgroundColor(node.color("backgroundColor"));
    if (node.has("cornerRadius"))
        setCornerRadius(node.number("cornerRadius"));
    if (node.has("borderWidth"))
        setBorder(node.number("borderWidth"),
                  node.has("borderColor") ? node.color("borderColor") : style::kInk);
    if (node.has("contentMode")) {
        static const std::map<std::string, ContentMode> kModes{
            {"scaleToFill", ContentMode::ScaleToFill},
            {"center", ContentMode::Center},
            {"top", ContentMode::Top},
            {"aspectFit", ContentMode::AspectFit},
            {"aspectFill", ContentMode::AspectFill}};
        setContentMode(node.choice("contentMode", kModes));
    }
}

ViewDescription View::describeTree() const {
    ViewDescription node;
    describe(node);
    node.children.reserve(subviews_.size());
    for (const auto& v : subviews_) {
        node.children.push_back(v->describeTree());
    }
    return node;
}

} // namespace vestrino::ui
