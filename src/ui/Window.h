#pragma once

#include "ui/Clipboard.h"
#include "ui/KeyCommand.h"
#include "ui/Palette.h"
#include "ui/View.h"

#include "core/Timer.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vestrino::ui {

class ViewController;

// The screen's one window.
//
// Touches: the touch (the mouse, or one finger) goes to the view hit at touch-down; when the
// finger moves past kScrollSlop inside a scroll view, the content's touch is cancelled and the
// scroll view drags. Inside a scroll view that delays content touches, the touch-down is held
// for kContentTouchDelay: a finger that moves past the slop in that time scrolls and the
// content never sees the touch; one that stays gives the content its touch-down when the delay
// ends (and a later move past the slop still cancels it); one that lifts first gives it
// touch-down and touch-up at once.
//
// Keys: the window hands a key to the first responder (the view with the focus) and passes
// what it does not use along the responder chain (superviews, their screens) up to the window's
// own commands: Tab and Shift+Tab move the focus, and keys nobody with the focus used are offered
// to the views on screen (arrows page a carousel, Page Down scrolls the page). With nobody
// focused, a key starts at the screen shown. It never asks a view for its type.
//
// Modal views (an alert, a dialog) stack: while one is up, every touch, key and text goes to the
// top one alone and to nothing behind it. The window knows whether anything needs painting.
class Window : public View {
public:
    static constexpr double kScrollSlop = 10.0;
    static constexpr Duration kContentTouchDelay = std::chrono::milliseconds(150);

    explicit Window(const Rect& frame = makeRect(0, 0, 320, 480));
    ~Window() override;
    std::string className() const override { return "Window"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::Frame; }
    // The window is read out by its title and the screen it shows (the label the screen's
    // layout gives it): "Vestrino – Carte".
    std::string accessibleName() const override;

    void touchDown(Point point, TimePoint time);
    void touchMove(Point point, TimePoint time);
    void touchUp(Point point, TimePoint time);
    // The mouse wheel or a touchpad's scroll at a point: the scroll views under it, innermost
    // first, take the movement (points the content moves). True when one did.
    bool scrollWheel(Point point, Point delta);
    // The window as a view takes no wheel of its own; the overload above routes it.
    using View::scrollWheel;
    // The view that receives the current touch (nothing between touches).
    View* touchedView() const { return touched_; }

    // Modal views, the last one on top. The focus behind a modal view stays where it is (it
    // hears nothing while the modal view is up) and is back in use when it goes.
    void beginModal(View* view);
    void endModal(View* view);
    View* modalView() const { return modal_.empty() ? nullptr : modal_.back().view; }

    // The screen that keys go to when nobody has the focus (its shown child, if it has one).
    void setRootViewController(const std::shared_ptr<ViewController>& controller) {
        root_ = controller;
    }
    // Whether a person types on an on-screen keyboard (a phone, a touch screen, the headless
    // mode) that covers the lower part of the screen while a field takes text; on a desktop
    // with a keyboard of its own nothing covers the screen.
    bool onScreenKeyboard() const { return onScreenKeyboard_; }
    void setOnScreenKeyboard(bool on) { onScreenKeyboard_ = on; }

    // The view with the focus: it receives keys and typed text first.
    View* firstResponder() const { return firstResponder_; }
    // Makes the view first responder, after the current one agreed to resign.
    bool setFirstResponder(View* view);
    void clearFirstResponder() {
        firstResponder_ = nullptr;
        markDirty();
    }
    // Whether the focus is in use now: something has it and no modal view is over it. A focus
    // set aside behind an alert or a dialog shows no ring.
    bool focusInUse() const {
        return firstResponder_ && (modal_.empty() || firstResponder_->isDescendantOf(modalView()));
    }
    // Whether the first responder takes typed text now (what starts text input).
    bool wantsTextInput() const;

    // Keyboard input, along the responder chain.
    bool insertText(const std::string& text) override;
    void deleteBackward() { keyCommand(KeyCommand::Backspace); }
    void returnKey() { keyCommand(KeyCommand::Return); }
    // A key press: true when something used it.
    bool keyCommand(KeyCommand command);
    // The window's own commands, last in the chain.
    bool keyDown(KeyCommand command) override;
    Responder* nextResponder() const override { return nullptr; }
    // The views Tab visits, in reading order (top to bottom, then left to right): those that
    // can take the focus and are shown on screen, inside the top modal view while one is up.
    std::vector<View*> tabOrder();

    // Where Ctrl+V takes text from; the backend puts the desktop's clipboard here.
    const std::shared_ptr<Clipboard>& clipboard() const { return clipboard_; }
    void setClipboard(std::shared_ptr<Clipboard> clipboard) { clipboard_ = std::move(clipboard); }

    // Told of every touch, wheel turn, key and typed text the window receives, before it is
    // handled (the application's inactivity lock).
    void setInputObserver(std::function<void()> observer) { inputObserver_ = std::move(observer); }

    // The look the window is painted in; a change repaints everything and changes nothing else.
    Appearance appearance() const { return palette_->appearance(); }
    const Palette& palette() const { return *palette_; }
    void setAppearance(Appearance appearance) {
        if (appearance != palette_->appearance()) {
            palette_ = &Palette::of(appearance);
            markDirty();
        }
    }

    void markDirty() { dirty_ = true; }
    bool needsDisplay() const { return dirty_; }
    void clearDirty() { dirty_ = false; }
    void paint(Canvas& canvas);

    // A view that leaves the window stops receiving its touch, its focus and its modality.
    void viewLeaving(View* view);

private:
    void noteInput() {
        if (inputObserver_) {
            inputObserver_();
        }
    }
    Touch makeTouch(Point point, TimePoint time);
    // Of the scroll views around the touched view, the one a finger movement by `delta` drags:
    // moving content up, the outermost that still has room (a page scrolls its header away
    // before the list inside it scrolls); otherwise the innermost that has room; failing both,
    // the innermost that can move at all (it bounces). Nothing when none can.
    View* scrollViewFor(Point delta) const;
    // Hands the held touch-down to the content, if one is held.
    void deliverHeldTouch();
    void dropHeldTouch();
    // Where input goes first: the focus if it is inside the top modal view (or there is none),
    // else the modal view, else the screen shown.
    Responder* inputStart();
    // The responder after `r`, stopping at the top modal view: after it (and its screen) comes
    // the window.
    Responder* nextInChain(Responder* r);
    // The innermost screen shown, if any.
    Responder* visibleScreen() const;
    // Whether the view is shown and takes input: in this window, inside the top modal view,
    // with no hidden, transparent or locked view around it.
    bool takesInput(const View* view) const;
    // Offers the key to the views on screen (outermost first for keys that move content up,
    // innermost first otherwise).
    bool offerToViewsOnScreen(KeyCommand command);
    bool moveFocus(bool forward);

    View* touched_ = nullptr;
    View* scroll_ = nullptr; // the scroll view that may take over the touch
    bool scrolling_ = false;
    Point down_;
    Point last_;
    std::optional<Touch> held_; // a touch-down the content has not seen yet
    std::shared_ptr<Timer> heldTimer_;
    struct Modal {
        View* view;
        View* focusBehind; // the focus when it came up, given back when it goes
    };
    std::vector<Modal> modal_;
    View* firstResponder_ = nullptr;
    std::weak_ptr<ViewController> root_;
    bool onScreenKeyboard_ = false;
    std::shared_ptr<Clipboard> clipboard_ = std::make_shared<MemoryClipboard>();
    std::function<void()> inputObserver_;
    bool dirty_ = true;
    const Palette* palette_ = &Palette::light();
};

} // namespace vestrino::ui
