#pragma once

#include "ui/Accessible.h"
#include "ui/Canvas.h"
#include "ui/Geometry.h"
#include "ui/Responder.h"
#include "ui/Touch.h"
#include "ui/ViewDescription.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vestrino::ui {

class Window;
class ViewController;
class LayoutNode;

// How a picture fills its view: stretched to the bounds, at its own size (centred, or at the
// top), or scaled keeping its shape to fit inside (AspectFit) or to cover (AspectFill, the
// overflow cut by the bounds).
enum class ContentMode { ScaleToFill, Center, Top, AspectFit, AspectFill };

// Which of a view's margins and sizes follow its superview when the superview's size changes
// (the platform's autoresizing mask): a flexible part takes its share of the change, the
// others keep their points. None: the view keeps its frame.
enum AutoresizingMask : unsigned {
    kAutoresizeNone = 0,
    kFlexibleLeftMargin = 1 << 0,
    kFlexibleWidth = 1 << 1,
    kFlexibleRightMargin = 1 << 2,
    kFlexibleTopMargin = 1 << 3,
    kFlexibleHeight = 1 << 4,
    kFlexibleBottomMargin = 1 << 5,
};

// A rectangle of the screen with its children. Geometry is the model value, set at once; what
// is drawn is the presentation value, which an animation moves towards the model frame by
// frame. Touches go to the view hit at touch-down; a view that does not handle one passes it to
// its superview. Keys go to the window's first responder and what it does not use goes on along
// the responder chain (Responder); a view that can take the focus says so, and Tab visits it.
class View : public std::enable_shared_from_this<View>, public Responder {
public:
    View();
    explicit View(const Rect& frame);
    virtual ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // ---- geometry (model values) ----
    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame);
    Rect bounds() const { return {boundsOrigin_, frame_.size}; }
    void setBoundsOrigin(Point origin);
    Point center() const { return frame_.center(); }
    void setCenter(Point center);
    // What is on screen now (animations in flight).
    Rect presentationFrame() const { return presentationFrame_; }
    double presentationAlpha() const { return presentationAlpha_; }

    // ---- appearance ----
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    double alpha() const { return alpha_; }
    void setAlpha(double alpha);
    bool hidden() const { return hidden_; }
    void setHidden(bool hidden);
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) {
        clipsToBounds_ = clips;
        setNeedsDisplay();
    }
    bool userInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    std::optional<Color> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color);
    // Round corners for the background, and an outline drawn inside the bounds.
    double cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(double radius) {
        cornerRadius_ = radius;
        setNeedsDisplay();
    }
    void setBorder(double width, Color color) {
        borderWidth_ = width;
        borderColor_ = color;
        setNeedsDisplay();
    }
    double borderWidth() const { return borderWidth_; }
    Color borderColor() const { return borderColor_; }
    ContentMode contentMode() const { return contentMode_; }
    void setContentMode(ContentMode mode);
    unsigned autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(unsigned mask) { autoresizingMask_ = mask; }
    // The frame this view takes when its superview goes from `oldSize` to `newSize`: each axis's
    // change shared among its flexible parts in proportion to their points (equally when those
    // are all zero).
    Rect autoresizedFrame(Size oldSize, Size newSize) const;
    // The outlet name a layout gave the view (snapshots show it).
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    // ---- the tree ----
    View* superview() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    void addSubview(std::shared_ptr<View> view);
    void insertSubview(std::shared_ptr<View> view, std::size_t index);
    void bringSubviewToFront(View* view);
    void removeFromSuperview();
    // This view or the first descendant (depth first, in subview order) with the tag.
    View* viewWithTag(int tag);
    Window* window() const;
    // What the colour is painted as in the window's palette (the light one outside a window).
    Color paintedColor(const Color& color) const;
    bool isDescendantOf(const View* ancestor) const;

    // ---- hit testing and coordinates ----
    // The deepest visible, interactive view under the point (in this view's coordinates),
    // front-most first; nothing for a hidden view, one with interaction off or alpha ≤ 0.01.
    virtual View* hitTest(Point point);
    virtual bool pointInside(Point point) const;
    Point convertPointToView(Point point, const View* other) const;
    Point convertPointFromView(Point point, const View* other) const;
    Rect convertRectToView(const Rect& rect, const View* other) const;
    // The view's frame in window coordinates (model values).
    Rect windowFrame() const;

    // ---- drawing ----
    void setNeedsDisplay();
    // Draws this view and its subviews; `origin` is where this view's frame origin lands in the
    // window (presentation values).
    void drawTree(Canvas& canvas, Point origin);
    // The view's own content inside `rect` (window points); the base paints the background.
    virtual void draw(Canvas& canvas, const Rect& rect);
    virtual void layoutSubviews() {}

    // ---- keys and focus ----
    // The screen whose view this is, if any: keys go on to it before the superview.
    ViewController* viewController() const { return viewController_; }
    void setViewController(ViewController* controller) { viewController_ = controller; }
    Responder* nextResponder() const override;
    // Whether Tab stops here: a control a person can touch. Each kind of view has its default
    // (controls yes, pictures and containers no); a layout or a screen may change it.
    bool isFocusable() const { return focusable_.value_or(focusableByDefault()); }
    void setFocusable(bool on) { focusable_ = on; }
    // Whether it may take the focus now (a disabled button may not).
    virtual bool canBecomeFocused() const { return isFocusable(); }
    // Whether typed text goes here while it has the focus (what raises an on-screen keyboard).
    virtual bool acceptsTextInput() const { return false; }
    virtual bool becomeFirstResponder();
    // Gives the focus up; false when the view refuses (a field whose delegate says no).
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    // Whether the view has the focus and it is in use (no modal view over it): what draws a ring.
    bool showsFocus() const;
    // What comes into sight when the view takes the focus (its bounds; a view that is read
    // with what stands around it asks for more).
    virtual Rect focusRevealRect() const { return bounds(); }
    // The focus is back after a modal view that held the input has gone.
    virtual void focusReturned() { setNeedsDisplay(); }
    // A key the window offers to the views on screen when nobody with the focus used it
    // (arrows page a carousel, Page Down scrolls the page); true when used.
    virtual bool keyDownWithoutFocus(KeyCommand) { return false; }
    // The mouse wheel or a touchpad's two fingers over the view, in points the content should
    // move; true when used (otherwise it goes to the superview).
    virtual bool scrollWheel(Point) { return false; }
    // Where the focus ring goes, around the view's drawn rectangle (window points).
    virtual Rect focusRingRect(const Rect& rect) const;
    // Brings the rectangle (in this view's coordinates) into sight: the scroll views around it
    // move as little as they can. The base passes it to the superview.
    virtual void scrollRectToVisible(const Rect& rect);
    // Whether content this view clips may still take the focus (a scrolling strip or page
    // scrolls it into sight when it gets the focus); a carousel's other pages may not.
    virtual bool revealsContentForFocus() const { return false; }

    // ---- what the window asks of a view that can scroll its content ----
    // Whether the view takes over a touch that moves inside it (a scroll view does).
    virtual bool takesOverMovingTouches() const { return false; }
    // Whether a touch-down on its content waits a moment before the content sees it.
    virtual bool delaysContentTouches() const { return false; }
    // Dragged or still gliding: a finger on it stops the content.
    virtual bool isScrolling() const { return false; }
    // Whether a finger movement in that direction would move the content at all, and whether
    // it would move it without going past an edge (along the movement's main axis).
    virtual bool canScrollAlong(Point) const { return false; }
    virtual bool hasRoomAlong(Point) const { return false; }

    // ---- touches ----
    virtual void touchesBegan(const Touch& touch);
    virtual void touchesMoved(const Touch& touch);
    virtual void touchesEnded(const Touch& touch);
    virtual void touchesCancelled(const Touch& touch);

    // ---- accessibility ----
    // What this view is to assistive technology: a role a layout or the code may set, else the
    // class's own (None for a view that only lays others out).
    AccessibleRole accessibleRole() const {
        return accessibleRole_.value_or(defaultAccessibleRole());
    }
    void setAccessibleRole(AccessibleRole role) { accessibleRole_ = role; }
    // The name it is read out by: the label set for it (a picture's meaning), else what it
    // shows (a button's title, a label's text; the class decides).
    virtual std::string accessibleName() const { return accessibilityLabel_; }
    // What more there is to hear about it (an alert's text); empty for most views.
    virtual std::string accessibleDescription() const { return {}; }
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(std::string label) { accessibilityLabel_ = std::move(label); }
    virtual AccessibleStates accessibleStates() const;
    // What can be done to it through assistive technology ("press", "activate", "toggle"), and
    // doing one as a person would by touch or key; false for an action it has not or cannot do
    // now.
    virtual std::vector<std::string> accessibleActions() const { return {}; }
    virtual bool doAccessibleAction(std::string_view /*action*/) { return false; }
    // The text it holds for assistive technology to read (a label's, a field's; a secure
    // field's as one dot a character); nothing for views without text.
    virtual std::optional<std::string> accessibleText() const { return std::nullopt; }
    // Replaces the code points [from, to) of that text by `replacement` as typing over a
    // selection would (a field's delegate decides as for typed text); false where the text
    // cannot be edited.
    virtual bool editAccessibleText(std::size_t /*from*/, std::size_t /*to*/,
                                    const std::string& /*replacement*/) {
        return false;
    }
    // Where the caret is in that text, and the selected code points [from, to) (empty when
    // nothing is selected); nothing for text without a caret.
    virtual std::optional<std::size_t> accessibleCaret() const { return std::nullopt; }
    virtual std::pair<std::size_t, std::size_t> accessibleSelection() const { return {0, 0}; }
    // Selects [from, to) with the caret at `to` (both equal: only moves the caret).
    virtual bool selectAccessibleText(std::size_t /*from*/, std::size_t /*to*/) { return false; }
    // The view whose name captions this one (a field's label), if any.
    virtual const View* accessibleLabelledBy() const { return nullptr; }
    // Marks the view as the one chosen among its like (the carousel's page in view).
    void setAccessibleSelected(bool selected) { accessibleSelected_ = selected; }

    // ---- snapshots ----
    virtual std::string className() const { return "View"; }
    // What this view tells of itself in a snapshot; subclasses add their properties.
    virtual void describe(ViewDescription& node) const;
    // Takes the properties a layout gives this view (LayoutLoader): each class reads the keys
    // it knows and then its base class's, so that a new widget needs no change in the loader.
    virtual void applyLayout(const LayoutNode& node);
    // This view's description and, within it, its subviews'.
    ViewDescription describeTree() const;

    // Called by the animation engine.
    void setPresentationFrame(const Rect& frame);
    void setPresentationAlpha(double alpha);

protected:
    virtual bool focusableByDefault() const { return false; }
    virtual AccessibleRole defaultAccessibleRole() const { return AccessibleRole::None; }
    // Draws the ring of the view that has the keyboard's focus.
    virtual void drawFocusRing(Canvas& canvas, const Rect& rect);
    virtual void didMoveToWindow() {}
    void setWindowRecursively(Window* window);
    void forgetWindow();

private:
    friend class Window;
    Rect frame_;
    Point boundsOrigin_;
    Rect presentationFrame_;
    double alpha_ = 1.0;
    double presentationAlpha_ = 1.0;
    int tag_ = 0;
    bool hidden_ = false;
    bool clipsToBounds_ = false;
    bool userInteractionEnabled_ = true;
    std::optional<Color> backgroundColor_;
    double cornerRadius_ = 0;
    double borderWidth_ = 0;
    Color borderColor_ = Color::clear();
    ContentMode contentMode_ = ContentMode::ScaleToFill;
    unsigned autoresizingMask_ = kAutoresizeNone;
    std::string name_;
    View* superview_ = nullptr;
    Window* window_ = nullptr;
    ViewController* viewController_ = nullptr;
    std::optional<bool> focusable_;
    std::optional<AccessibleRole> accessibleRole_;
    std::string accessibilityLabel_;
    bool accessibleSelected_ = false;
    std::vector<std::shared_ptr<View>> subviews_;
};

using ViewPtr = std::shared_ptr<View>;

} // namespace vestrino::ui
