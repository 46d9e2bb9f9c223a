#pragma once

#include "ui/Clipboard.h"
#include "ui/KeyCommand.h"
#include "ui/View.h"

#include "core/Timer.h"

#include <memory>
#include <optional>
#include <vector>

namespace vestrino::ui {

class ScrollView;
class TextField;

// The screen's one window. It delivers the touch (the mouse) to the view hit at touch-down;
// when the finger moves more than 10 points inside a scroll view, the content's touch is
// cancelled and the scroll view drags. Inside a scroll view that delays content touches, the
// touch-down is held for kContentTouchDelay: a finger that moves past the slop in that time
// scrolls and the content never sees the touch; one that stays gives the content its
// touch-down when the delay ends; one that lifts first gives it touch-down and touch-up at
// once. A modal view (an alert) takes every touch while it is up. It knows whether anything
// needs painting.
class Window : public View {
public:
    static constexpr double kScrollSlop = 10.0;
    static constexpr Duration kContentTouchDelay = std::chrono::milliseconds(150);

    explicit Window(const Rect& frame = makeRect(0, 0, 320, 480));
    ~Window() override;
    std::string className() const override { return "Window"; }

    void touchDown(Point point, TimePoint time);
    void touchMove(Point point, TimePoint time);
    void touchUp(Point point, TimePoint time);
    // The view that receives the current touch (nothing between touches).
    View* touchedView() const { return touched_; }

    // A view that takes every touch while it is set (the alert on screen).
    void setModalView(View* view) { modal_ = view; }
    View* modalView() const { return modal_; }

    // The view that receives typed text (a text field), if any.
    View* firstResponder() const { return firstResponder_; }
    // Makes the view first responder, after the current one agreed to resign.
    bool setFirstResponder(View* view);
    void clearFirstResponder() {
        firstResponder_ = nullptr;
        markDirty();
    }
    // Keyboard input: to the first responder only.
    void insertText(const std::string& text);
    void deleteBackward();
    void returnKey();
    // A key the window acts on (KeyCommand): editing keys go to the first responder, Tab and
    // Shift+Tab move between the screen's text fields, Escape answers an open alert with its
    // cancel button, Ctrl+V pastes the clipboard's first line. True when the key did something.
    bool keyCommand(KeyCommand command);
    // The text fields Tab visits, in reading order (top to bottom, then left to right): those
    // on screen that take touches, inside the alert while one is up.
    std::vector<TextField*> tabOrder();
    // Left and Right with no field edited: the paging scroll view on screen (a carousel)
    // moves a page, as a drag would. False when there is none or it cannot move.
    bool pageCarousel(int delta);

    // Where Ctrl+V takes text from; the backend puts the desktop's clipboard here.
    const std::shared_ptr<Clipboard>& clipboard() const { return clipboard_; }
    void setClipboard(std::shared_ptr<Clipboard> clipboard) { clipboard_ = std::move(clipboard); }

    void markDirty() { dirty_ = true; }
    bool needsDisplay() const { return dirty_; }
    void clearDirty() { dirty_ = false; }
    void paint(Canvas& canvas);

    // A view that leaves the window stops receiving its touch.
    void viewLeaving(View* view);

private:
    Touch makeTouch(Point point, TimePoint time);
    // Of the scroll views around the touched view, the one a finger movement by `delta` drags:
    // moving content up, the outermost that still has room (a page scrolls its header away
    // before the list inside it scrolls); otherwise the innermost that has room; failing both,
    // the innermost that can move at all (it bounces). Nothing when none can.
    ScrollView* scrollViewFor(Point delta) const;
    // Hands the held touch-down to the content, if one is held.
    void deliverHeldTouch();
    void dropHeldTouch();

    View* touched_ = nullptr;
    ScrollView* scroll_ = nullptr; // the scroll view that may take over the touch
    bool scrolling_ = false;
    Point down_;
    Point last_;
    std::optional<Touch> held_; // a touch-down the content has not seen yet
    std::shared_ptr<Timer> heldTimer_;
    View* modal_ = nullptr;
    View* firstResponder_ = nullptr;
    std::shared_ptr<Clipboard> clipboard_ = std::make_shared<MemoryClipboard>();
    bool dirty_ = true;
};

} // namespace vestrino::ui
