#include "ui/Window.h"

#include "core/RunLoop.h"
#include "ui/ViewController.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace vestrino::ui {

namespace {

// Keys that move content towards its start (the view nearest the finger's content goes first)
// and the ones that move it towards its end (the outermost page first, as a drag up does).
bool movesTowardsEnd(KeyCommand key) {
    return key == KeyCommand::Down || key == KeyCommand::PageDown || key == KeyCommand::End ||
           key == KeyCommand::Right;
}

} // namespace

Window::Window(const Rect& frame) : View(frame) {
    setBackgroundColor(Color::black());
}

Window::~Window() {
    dropHeldTouch();
}

// ---- touches ----

Touch Window::makeTouch(Point point, TimePoint time) {
    Touch t{point, last_, time};
    last_ = point;
    return t;
}

void Window::deliverHeldTouch() {
    if (heldTimer_) {
        heldTimer_->invalidate();
        heldTimer_.reset();
    }
    if (auto touch = std::exchange(held_, std::nullopt); touch && touched_) {
        touched_->touchesBegan(*touch);
    }
}

void Window::dropHeldTouch() {
    if (heldTimer_) {
        heldTimer_->invalidate();
        heldTimer_.reset();
    }
    held_.reset();
}

void Window::touchDown(Point point, TimePoint time) {
    noteInput();
    dropHeldTouch();
    last_ = point;
    down_ = point;
    scrolling_ = false;
    // The keyboard's focus on a control goes when the person uses the pointer (a field being
    // edited keeps it: the keyboard still types there).
    if (firstResponder_ && !firstResponder_->acceptsTextInput()) {
        firstResponder_->resignFirstResponder();
    }
    View* root = modalView() ? modalView() : this;
    touched_ = root->hitTest(root == this ? point : root->convertPointFromView(point, nullptr));
    scroll_ = nullptr;
    for (View* v = touched_; v; v = v->superview()) {
        if (v->takesOverMovingTouches()) {
            scroll_ = v;
            break;
        }
    }
    if (scroll_ && scroll_->isScrolling()) {
        // A finger on moving content belongs to the scroll view: it stops the content.
        touched_ = scroll_;
        scrolling_ = true;
    }
    if (touched_ && scroll_ && touched_ != scroll_ && scroll_->delaysContentTouches()) {
        held_ = makeTouch(point, time);
        heldTimer_ = Timer::scheduledTimer(RunLoop::main(), kContentTouchDelay, false,
                                           [this](Timer&) { deliverHeldTouch(); });
        return;
    }
    if (touched_) {
        touched_->touchesBegan(makeTouch(point, time));
    }
}

void Window::touchMove(Point point, TimePoint time) {
    noteInput();
    if (!touched_) {
        return;
    }
    const bool pastSlop = std::hypot(point.x - down_.x, point.y - down_.y) > kScrollSlop;
    if (held_ && !pastSlop) {
        last_ = point;
        return; // still deciding between a scroll and a touch of the content
    }
    View* target = !scrolling_ && scroll_ && touched_ != scroll_ && pastSlop
                       ? scrollViewFor(point - down_)
                       : nullptr;
    if (target) {
        // The touch turns into a scroll: the content lets go (or never hears of it, while its
        // touch-down is held), the scroll view takes over from where the finger came down. A
        // content view that already had its touch-down gets a cancel, never a touch-up: a
        // press that turns into a drag chooses nothing.
        if (held_) {
            dropHeldTouch();
        } else {
            touched_->touchesCancelled(makeTouch(point, time));
        }
        scrolling_ = true;
        scroll_ = target;
        touched_ = scroll_;
        Touch begin{down_, down_, time};
        scroll_->touchesBegan(begin);
    }
    // A move the scroll view cannot follow belongs to the content: it gets its touch-down now.
    deliverHeldTouch();
    if (touched_) {
        touched_->touchesMoved(makeTouch(point, time));
    }
}

View* Window::scrollViewFor(Point delta) const {
    std::vector<View*> chain; // innermost first
    for (View* v = scroll_; v; v = v->superview()) {
        if (v->takesOverMovingTouches()) {
            chain.push_back(v);
        }
    }
    const bool contentGoesUp = std::abs(delta.y) > std::abs(delta.x) && delta.y < 0;
    if (contentGoesUp) {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if ((*it)->hasRoomAlong(delta)) {
                return *it;
            }
        }
    }
    for (View* s : chain) {
        if (s->hasRoomAlong(delta)) {
            return s;
        }
    }
    for (View* s : chain) {
        if (s->canScrollAlong(delta)) {
            return s;
        }
    }
    return nullptr;
}

void Window::touchUp(Point point, TimePoint time) {
    noteInput();
    // A tap quicker than the delay: the content gets its touch-down, then the touch-up.
    deliverHeldTouch();
    if (touched_) {
        View* v = touched_;
        touched_ = nullptr;
        v->touchesEnded(makeTouch(point, time));
    }
    scroll_ = nullptr;
    scrolling_ = false;
}

bool Window::scrollWheel(Point point, Point delta) {
    noteInput();
    View* root = modalView() ? modalView() : this;
    View* hit = root->hitTest(root == this ? point : root->convertPointFromView(point, nullptr));
    for (View* v = hit; v && v != this; v = v->superview()) {
        if (v->scrollWheel(delta)) {
            return true;
        }
        if (v == root) {
            break; // nothing behind a modal view moves
        }
    }
    return false;
}

// ---- modal views ----

void Window::beginModal(View* view) {
    if (!view) {
        return;
    }
    std::erase_if(modal_, [view](const Modal& m) { return m.view == view; });
    View* behind =
        firstResponder_ && !firstResponder_->isDescendantOf(view) ? firstResponder_ : nullptr;
    modal_.push_back({view, behind});
    markDirty();
}

void Window::endModal(View* view) {
    const auto it = std::find_if(modal_.begin(), modal_.end(),
                                 [view](const Modal& m) { return m.view == view; });
    if (it == modal_.end()) {
        return;
    }
    View* behind = it->focusBehind;
    const bool wasTop = it + 1 == modal_.end();
    modal_.erase(it);
    markDirty();
    // The focus that was in the modal view goes back to where it was before.
    if (wasTop && behind && (!firstResponder_ || firstResponder_->isDescendantOf(view)) &&
        behind->window() == this) {
        firstResponder_ = behind;
        behind->focusReturned();
    }
}

// ---- focus and keys ----

bool Window::setFirstResponder(View* view) {
    if (firstResponder_ == view) {
        return true;
    }
    // The focus behind a modal view is not given up: it is set aside until the view goes.
    const bool setAside = modalView() && firstResponder_ && !takesInput(firstResponder_) &&
                          std::any_of(modal_.begin(), modal_.end(), [this](const Modal& m) {
                              return m.focusBehind == firstResponder_;
                          });
    if (!setAside && firstResponder_ && !firstResponder_->resignFirstResponder()) {
        return false;
    }
    firstResponder_ = view;
    if (view) {
        // A control the keyboard reaches comes into sight inside the scroll views around it.
        view->scrollRectToVisible(view->focusRevealRect());
    }
    markDirty();
    return true;
}

bool Window::wantsTextInput() const {
    return firstResponder_ && firstResponder_->acceptsTextInput() && takesInput(firstResponder_);
}

bool Window::takesInput(const View* view) const {
    if (!view || view->window() != this) {
        return false;
    }
    if (const View* modal = modalView(); modal && !view->isDescendantOf(modal)) {
        return false;
    }
    for (const View* v = view; v; v = v->superview()) {
        if (v->hidden() || v->alpha() <= 0.01 || !v->userInteractionEnabled()) {
            return false;
        }
    }
    return true;
}

Responder* Window::visibleScreen() const {
    ViewController* screen = root_.lock().get();
    while (screen && screen->visibleChild()) {
        screen = screen->visibleChild();
    }
    return screen;
}

std::string Window::accessibleName() const {
    ViewController* screen = root_.lock().get();
    while (screen && screen->visibleChild()) {
        screen = screen->visibleChild();
    }
    const std::string shown =
        screen && screen->isViewLoaded() ? screen->view()->accessibilityLabel() : std::string();
    if (shown.empty() || accessibilityLabel().empty()) {
        return shown.empty() ? accessibilityLabel() : shown;
    }
    return accessibilityLabel() + " \u2013 " + shown; // "Vestrino – Carte"
}

Responder* Window::inputStart() {
    if (takesInput(firstResponder_)) {
        return firstResponder_;
    }
    if (View* modal = modalView()) {
        return modal;
    }
    if (Responder* screen = visibleScreen()) {
        return screen;
    }
    return this;
}

Responder* Window::nextInChain(Responder* r) {
    View* modal = modalView();
    if (modal && r == modal) {
        return modal->viewController() ? static_cast<Responder*>(modal->viewController()) : this;
    }
    if (modal && modal->viewController() && r == modal->viewController()) {
        return this;
    }
    return r->nextResponder();
}

bool Window::keyCommand(KeyCommand command) {
    noteInput();
    std::vector<Responder*> asked;
    auto run = [&](Responder* r) {
        for (; r; r = nextInChain(r)) {
            if (std::find(asked.begin(), asked.end(), r) != asked.end()) {
                continue;
            }
            asked.push_back(r);
            if (r->keyDown(command)) {
                return true;
            }
        }
        return false;
    };
    if (run(inputStart())) {
        return true;
    }
    // A key the focused control and its surroundings did not use still reaches the screen
    // shown (Escape goes back from the toolbar too), unless a modal view holds the input.
    return !modalView() && run(visibleScreen());
}

bool Window::insertText(const std::string& text) {
    noteInput();
    for (Responder* r = inputStart(); r; r = nextInChain(r)) {
        if (r != this && r->insertText(text)) {
            return true;
        }
    }
    return false; // nobody takes text: it is dropped
}

bool Window::keyDown(KeyCommand command) {
    switch (command) {
    case KeyCommand::Tab:
    case KeyCommand::BackTab:
        return moveFocus(command == KeyCommand::Tab);
    case KeyCommand::Left:
    case KeyCommand::Right:
    case KeyCommand::Up:
    case KeyCommand::Down:
    case KeyCommand::PageUp:
    case KeyCommand::PageDown:
    case KeyCommand::Home:
    case KeyCommand::End:
        return offerToViewsOnScreen(command);
    default:
        return false;
    }
}

bool Window::offerToViewsOnScreen(KeyCommand command) {
    // Depth first through what is shown, parents before their children; a hidden, transparent
    // or locked view hides its subtree.
    std::vector<View*> shown;
    std::vector<View*> stack{modalView() ? modalView() : this};
    while (!stack.empty()) {
        View* v = stack.back();
        stack.pop_back();
        if (v->hidden() || v->alpha() <= 0.01 || !v->userInteractionEnabled()) {
            continue;
        }
        shown.push_back(v);
        for (auto it = v->subviews().rbegin(); it != v->subviews().rend(); ++it) {
            stack.push_back(it->get());
        }
    }
    if (!movesTowardsEnd(command)) {
        std::reverse(shown.begin(), shown.end());
    }
    for (View* v : shown) {
        if (v != this && v->keyDownWithoutFocus(command)) {
            return true;
        }
    }
    return false;
}

std::vector<View*> Window::tabOrder() {
    struct Entry {
        View* view;
        Rect frame;
    };
    struct Visit {
        View* view;
        Rect clip; // what of the screen the view's ancestors let show, in window points
    };
    std::vector<Entry> found;
    std::vector<Visit> stack{{modalView() ? modalView() : this, bounds()}};
    while (!stack.empty()) {
        const auto [v, clip] = stack.back();
        stack.pop_back();
        if (v->hidden() || v->alpha() <= 0.01 || !v->userInteractionEnabled()) {
            continue;
        }
        const Rect f = v->convertRectToView(v->bounds(), nullptr);
        if (v != this && v->canBecomeFocused() && !f.intersection(clip).isEmpty()) {
            found.push_back({v, f});
        }
        Rect inner = clip;
        if (v->clipsToBounds() && !v->revealsContentForFocus()) {
            inner = clip.intersection(f);
        } else if (v->revealsContentForFocus()) {
            // What scrolls inside it comes into sight when focused: all of it counts, but only
            // when the scrolling view itself shows.
            inner = f.intersection(clip).isEmpty() ? Rect{} : makeRect(-1e9, -1e9, 2e9, 2e9);
        }
        if (inner.isEmpty()) {
            continue;
        }
        for (const auto& child : v->subviews()) {
            stack.push_back({child.get(), inner});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        // One row: tops less than half a line apart.
        if (std::abs(a.frame.minY() - b.frame.minY()) >= 8) {
            return a.frame.minY() < b.frame.minY();
        }
        return a.frame.minX() < b.frame.minX();
    });
    std::vector<View*> views;
    for (const auto& e : found) {
        views.push_back(e.view);
    }
    return views;
}

bool Window::moveFocus(bool forward) {
    const auto views = tabOrder();
    if (views.empty()) {
        return false;
    }
    const auto at = std::find(views.begin(), views.end(), firstResponder_);
    const std::size_t n = views.size();
    std::size_t next = 0;
    if (at == views.end()) {
        next = forward ? 0 : n - 1;
    } else {
        const auto i = static_cast<std::size_t>(at - views.begin());
        next = forward ? (i + 1) % n : (i + n - 1) % n;
    }
    // A view that refuses (a field whose delegate says no) is passed over.
    for (std::size_t tried = 0; tried < n; ++tried) {
        View* candidate = views[(forward ? next + tried : next + n - tried) % n];
        if (candidate == firstResponder_ || candidate->becomeFirstResponder()) {
            return true;
        }
    }
    return false;
}

void Window::viewLeaving(View* view) {
    if (firstResponder_ == view) {
        firstResponder_ = nullptr;
    }
    if (touched_ == view) {
        touched_ = nullptr;
        dropHeldTouch();
    }
    if (scroll_ == view) {
        scroll_ = nullptr;
    }
    endModal(view); // a modal view taken off the screen holds the input no more
    for (auto& m : modal_) {
        if (m.focusBehind == view) {
            m.focusBehind = nullptr;
        }
    }
}

void Window::paint(Canvas& canvas) {
    canvas.setPalette(*palette_);
    canvas.beginFrame();
    drawTree(canvas, presentationFrame().origin);
    dirty_ = false;
}

} // namespace vestrino::ui
