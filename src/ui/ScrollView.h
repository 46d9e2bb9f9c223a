#pragma once

#include "ui/View.h"

#include <deque>
#include <optional>

namespace vestrino::ui {

class ScrollView;

// What a scroll view tells its delegate, in the order the phone does.
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    // Every change of the offset: dragging, deceleration, animated or direct moves.
    virtual void scrollViewDidScroll(ScrollView&) {}
    virtual void scrollViewDidEndDragging(ScrollView&, bool /*willDecelerate*/) {}
    virtual void scrollViewDidEndDecelerating(ScrollView&) {}
    // Only after an animated setContentOffset.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView&) {}
};

// A view whose content is larger than itself, moved by the finger. With paging it comes to
// rest on a multiple of its width: where a flick would land is predicted from the finger's
// speed, then the nearest page within one of the page the drag began on is chosen. It bounces
// at the edges and decelerates after a flick.
class ScrollView : public View {
public:
    using View::View;
    ~ScrollView() override;

    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size) { contentSize_ = size; }
    Point contentOffset() const { return bounds().origin; }
    void setContentOffset(Point offset, bool animated = false);
    bool pagingEnabled() const { return paging_; }
    void setPagingEnabled(bool on) { paging_ = on; }
    bool bounces() const { return bounces_; }
    void setBounces(bool on) { bounces_ = on; }
    // Whether a touch-down on the content waits a moment (Window::kContentTouchDelay) before
    // the content sees it, so that a drag that starts on a control scrolls without touching it.
    bool delaysContentTouches() const override { return delaysContentTouches_; }
    void setDelaysContentTouches(bool on) { delaysContentTouches_ = on; }
    ScrollViewDelegate* delegate() const { return delegate_; }
    void setDelegate(ScrollViewDelegate* delegate) { delegate_ = delegate; }

    bool isDragging() const { return dragging_; }
    bool isDecelerating() const { return motion_ && motion_->kind != Motion::Animation; }
    bool isScrolling() const override { return isDragging() || isDecelerating(); }
    bool takesOverMovingTouches() const override { return true; }
    // Whether a finger movement in that direction would move the content.
    bool canScrollAlong(Point delta) const override;
    // Whether it would move the content without going past an edge (along the movement's
    // main axis).
    bool hasRoomAlong(Point delta) const override;

    // The wheel moves the content at once, within its edges (no bounce); a paging view turns a
    // wheel's worth of movement (kWheelPage) into one page, as a drag would. False when the
    // content cannot move that way (the scroll view around it gets the movement).
    static constexpr double kWheelPage = 40;
    bool scrollWheel(Point delta) override;
    // Keys with the focus inside: Up and Down a line, Page Up and Page Down a screenful, Home
    // and End to the ends; with paging, Left and Right a page. False when nothing moves.
    bool keyDown(KeyCommand key) override;
    bool keyDownWithoutFocus(KeyCommand key) override;
    void scrollRectToVisible(const Rect& rect) override;
    // A strip or a page that scrolls brings a focused control into sight; a carousel's pages
    // are reached by paging, not by focus.
    bool revealsContentForFocus() const override { return !paging_ || focusTurnsPages_; }
    // Whether a paging view turns to the page that shows a focused control (a strip of
    // controls shown a page at a time); off, a carousel's pages are reached by paging alone.
    bool focusTurnsPages() const { return focusTurnsPages_; }
    void setFocusTurnsPages(bool on) { focusTurnsPages_ = on; }
    // How much of the view's top and bottom other views cover (a translucent navigation bar, a
    // total line kept over the list): what the focus brings into sight goes between them.
    void setCoveredEdges(double top, double bottom) {
        coveredTop_ = top;
        coveredBottom_ = bottom;
    }
    // With paging: when the focus is on a control of this view's content that the page at
    // `offset` does not show, it moves to the first control that page shows (the focus follows
    // the page in view; a key then acts on what a person sees).
    void keepFocusOnPage(Point offset);

    // With paging: moves `delta` pages as a drag that ends there would (didEndDragging with
    // willDecelerate, the glide, didEndDecelerating); false when there is no such page or the
    // content is moving or held.
    bool pageBy(int delta);

    // Advances every moving scroll view to `now` in fixed steps; true while one still moves.
    static bool tickAll(TimePoint now);

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;

    std::string className() const override { return "ScrollView"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::ScrollPane; }
    // A view that pages turns a page through assistive technology as a drag would.
    std::vector<std::string> accessibleActions() const override;
    bool doAccessibleAction(std::string_view action) override;
    void describe(ViewDescription& node) const override;
    void applyLayout(const LayoutNode& node) override;

protected:
    // A touch that ended without dragging (a tap on the content), in content coordinates.
    virtual void didTap(Point) {}
    // After every change of the offset (before the delegate hears of it).
    virtual void contentOffsetChanged() {}

private:
    struct Motion {
        enum Kind { Animation, Deceleration, Glide } kind;
        Point from, to;
        TimePoint start;
        double duration = 0;
        Point velocity;     // glides only
        TimePoint lastStep; // glides only
    };
    Point maxOffset() const;
    // Moves the content by `delta` within its edges; false when it cannot move.
    bool scrollBy(Point delta);
    bool scrollKey(KeyCommand key);
    Point clamped(Point offset) const;
    void moveTo(Point offset);
    void startMotion(Motion motion);
    bool step(TimePoint now);
    void finishMotion();
    Point velocityAt(TimePoint now) const;

    Size contentSize_;
    bool paging_ = false;
    bool focusTurnsPages_ = false;
    double coveredTop_ = 0, coveredBottom_ = 0;
    bool bounces_ = true;
    bool delaysContentTouches_ = true;
    ScrollViewDelegate* delegate_ = nullptr;
    bool tracking_ = false;
    bool dragging_ = false;
    Point touchStart_;
    Point offsetAtStart_;
    int pageAtStart_ = 0;
    std::deque<std::pair<TimePoint, Point>> samples_;
    std::optional<Motion> motion_;
    double wheelTowardsPage_ = 0; // wheel movement not yet turned into a page
};

} // namespace vestrino::ui
