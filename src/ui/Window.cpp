#include "ui/Window.h"

#include "core/RunLoop.h"
#include "ui/AlertView.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vestrino::ui {

Window::Window(const Rect& frame) : View(frame) {
    setBackgroundColor(Color::black());
}

Window::~Window() {
    dropHeldTouch();
}

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
    dropHeldTouch();
    last_ = point;
    down_ = point;
    scrolling_ = false;
    View* root = modal_ ? modal_ : this;
    touched_ = root->hitTest(root == this ? point : root->convertPointFromView(point, nullptr));
    scroll_ = nullptr;
    for (View* v = touched_; v; v = v->superview()) {
        if (auto* s = dynamic_cast<ScrollView*>(v)) {
            scroll_ = s;
            break;
        }
    }
    if (scroll_ && (scroll_->isDecelerating() || scroll_->isDragging())) {
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
    if (!touched_) {
        return;
    }
    const bool pastSlop = std::hypot(point.x - down_.x, point.y - down_.y) > kScrollSlop;
    if (held_ && !pastSlop) {
        last_ = point;
        return; // still deciding between a scroll and a touch of the content
    }
    ScrollView* target = !scrolling_ && scroll_ && touched_ != scroll_ && pastSlop
                             ? scrollViewFor(point - down_)
                             : nullptr;
    if (target) {
        // The touch turns into a scroll: the content lets go (or never hears of it, while its
        // touch-down is held), the scroll view takes over from where the finger came down.
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

ScrollView* Window::scrollViewFor(Point delta) const {
    std::vector<ScrollView*> chain; // innermost first
    for (View* v = scroll_; v; v = v->superview()) {
        if (auto* s = dynamic_cast<ScrollView*>(v)) {
            chain.push_back(s);
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
    for (ScrollView* s : chain) {
        if (s->hasRoomAlong(delta)) {
            return s;
        }
    }
    for (ScrollView* s : chain) {
        if (s->canScrollAlong(delta)) {
            return s;
        }
    }
    return nullptr;
}

void Window::touchUp(Point point, TimePoint time) {
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

bool Window::setFirstResponder(View* view) {
    if (firstResponder_ == view) {
        return true;
    }
    if (auto* current = dynamic_cast<TextField*>(firstResponder_)) {
        if (!current->resignFirstResponder()) {
            return false;
        }
    }
    firstResponder_ = view;
    markDirty();
    return true;
}

void Window::insertText(const std::string& text) {
    if (auto* field = dynamic_cast<TextField*>(firstResponder_)) {
        field->insertText(text);
    }
}

void Window::deleteBackward() {
    if (auto* field = dynamic_cast<TextField*>(firstResponder_)) {
        field->deleteBackward();
    }
}

void Window::returnKey() {
    if (auto* field = dynamic_cast<TextField*>(firstResponder_)) {
        field->returnKey();
    }
}

bool Window::keyCommand(KeyCommand command) {
    auto* field = dynamic_cast<TextField*>(firstResponder_);
    switch (command) {
    case KeyCommand::Tab:
    case KeyCommand::BackTab:
    case KeyCommand::Escape:
        break;
    default:
        // Editing keys belong to the field being edited.
        if (field) {
            return field->editingKey(command, clipboard_.get());
        }
        if (command == KeyCommand::Left || command == KeyCommand::Right) {
            return pageCarousel(command == KeyCommand::Left ? -1 : 1);
        }
        return false;
    }
    switch (command) {
    case KeyCommand::Escape: {
        auto* alert = dynamic_cast<AlertView*>(modal_);
        if (!alert || !alert->visible() || !alert->hasCancelButton()) {
            return false;
        }
        alert->dismissWithClickedButtonIndex(0);
        return true;
    }
    case KeyCommand::Tab:
    case KeyCommand::BackTab: {
        const auto fields = tabOrder();
        if (fields.empty()) {
            return false;
        }
        const auto at = std::find(fields.begin(), fields.end(), firstResponder_);
        const std::size_t n = fields.size();
        std::size_t next = 0;
        if (at == fields.end()) {
            next = command == KeyCommand::Tab ? 0 : n - 1;
        } else {
            const auto i = static_cast<std::size_t>(at - fields.begin());
            next = command == KeyCommand::Tab ? (i + 1) % n : (i + n - 1) % n;
        }
        return fields[next]->becomeFirstResponder();
    }
    default:
        return false;
    }
}

bool Window::pageCarousel(int delta) {
    if (modal_) {
        return false; // an alert is up: nothing under it moves
    }
    const Rect screen = bounds();
    std::vector<View*> stack{this};
    while (!stack.empty()) {
        View* v = stack.back();
        stack.pop_back();
        if (v->hidden() || v->alpha() <= 0.01 || !v->userInteractionEnabled()) {
            continue;
        }
        if (auto* s = dynamic_cast<ScrollView*>(v); s && s->pagingEnabled()) {
            const Rect f = s->convertRectToView(s->bounds(), nullptr);
            if (f.minX() >= screen.minX() - 1 && f.maxX() <= screen.maxX() + 1) {
                return s->pageBy(delta);
            }
        }
        for (const auto& child : v->subviews()) {
            stack.push_back(child.get());
        }
    }
    return false;
}

std::vector<TextField*> Window::tabOrder() {
    struct Entry {
        TextField* field;
        Rect frame;
    };
    std::vector<Entry> found;
    const Rect screen = bounds();
    // Depth first through what is shown: a hidden or transparent view hides its subtree.
    std::vector<View*> stack{modal_ ? modal_ : this};
    while (!stack.empty()) {
        View* v = stack.back();
        stack.pop_back();
        if (v->hidden() || v->alpha() <= 0.01 || !v->userInteractionEnabled()) {
            continue;
        }
        if (auto* field = dynamic_cast<TextField*>(v)) {
            const Rect f = field->convertRectToView(field->bounds(), nullptr);
            if (f.maxX() > screen.minX() && f.minX() < screen.maxX() && f.maxY() > screen.minY() &&
                f.minY() < screen.maxY()) {
                found.push_back({field, f});
            }
            continue;
        }
        for (const auto& child : v->subviews()) {
            stack.push_back(child.get());
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) {
        if (a.frame.minY() != b.frame.minY()) {
            return a.frame.minY() < b.frame.minY();
        }
        return a.frame.minX() < b.frame.minX();
    });
    std::vector<TextField*> fields;
    for (const auto& e : found) {
        fields.push_back(e.field);
    }
    return fields;
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
    if (modal_ == view) {
        modal_ = nullptr;
    }
}

void Window::paint(Canvas& canvas) {
    canvas.beginFrame();
    drawTree(canvas, presentationFrame().origin);
    dirty_ = false;
}

} // namespace vestrino::ui
