#include "ui/TextField.h"

#include "core/RunLoop.h"
#include "core/Utf8.h"
#include "ui/Window.h"

namespace vestrino::ui {

void TextField::setText(std::string text) {
    text_ = isValidUtf8(text) ? std::move(text) : std::string();
    setNeedsDisplay();
}

void TextField::setPlaceholder(std::string text) {
    placeholder_ = std::move(text);
    setNeedsDisplay();
}

void TextField::setSecureTextEntry(bool on) {
    secure_ = on;
    setNeedsDisplay();
}

void TextField::setFont(Font font) {
    font_ = std::move(font);
    setNeedsDisplay();
}

TextField::~TextField() {
    stopCaretBlink();
}

void TextField::startCaretBlink() {
    caretSince_ = RunLoop::main().clock().now();
    if (caretTimer_ && caretTimer_->isValid()) {
        return;
    }
    // A repaint at every half period; the phase itself comes from the clock, so a repaint for
    // any other reason shows the same caret.
    caretTimer_ = Timer::scheduledTimer(RunLoop::main(), kCaretBlink, true, [this](Timer& t) {
        if (!isFirstResponder()) {
            t.invalidate();
            return;
        }
        setNeedsDisplay();
    });
}

void TextField::stopCaretBlink() {
    if (caretTimer_) {
        caretTimer_->invalidate();
        caretTimer_.reset();
    }
}

bool TextField::caretVisible() const {
    if (!isFirstResponder()) {
        return false;
    }
    const auto since = RunLoop::main().clock().now() - caretSince_;
    return since < Duration::zero() || (since / kCaretBlink) % 2 == 0;
}

bool TextField::isFirstResponder() const {
    const Window* w = window();
    return w && w->firstResponder() == this;
}

bool TextField::becomeFirstResponder() {
    Window* w = window();
    if (!w || isFirstResponder()) {
        return isFirstResponder();
    }
    if (delegate_ && !delegate_->textFieldShouldBeginEditing(*this)) {
        return false;
    }
    if (!w->setFirstResponder(this)) {
        return false;
    }
    startCaretBlink();
    if (delegate_) {
        delegate_->textFieldDidBeginEditing(*this);
    }
    setNeedsDisplay();
    return true;
}

bool TextField::resignFirstResponder() {
    Window* w = window();
    if (!w || !isFirstResponder()) {
        return true;
    }
    if (delegate_ && !delegate_->textFieldShouldEndEditing(*this)) {
        return false;
    }
    w->clearFirstResponder();
    stopCaretBlink();
    if (delegate_) {
        delegate_->textFieldDidEndEditing(*this);
    }
    setNeedsDisplay();
    return true;
}

void TextField::replace(std::size_t location, std::size_t length, const std::string& replacement) {
    if (!isValidUtf8(replacement)) {
        return;
    }
    if (delegate_ &&
        !delegate_->textFieldShouldChangeCharacters(*this, location, length, replacement)) {
        return;
    }
    const std::size_t from = byteOffsetOfCodePoint(text_, location);
    const std::size_t to = byteOffsetOfCodePoint(text_, location + length);
    text_.replace(from, to - from, replacement);
    if (isFirstResponder()) {
        startCaretBlink(); // a caret that is being typed at does not blink
    }
    setNeedsDisplay();
    if (delegate_) {
        delegate_->textFieldDidChange(*this);
    }
}

void TextField::insertText(const std::string& text) {
    if (!text.empty()) {
        replace(codePointCount(text_), 0, text);
    }
}

void TextField::deleteBackward() {
    const std::size_t n = codePointCount(text_);
    if (n > 0) {
        replace(n - 1, 1, "");
    }
}

void TextField::returnKey() {
    if (delegate_) {
        delegate_->textFieldShouldReturn(*this);
    }
}

void TextField::touchesBegan(const Touch&) {}

void TextField::touchesEnded(const Touch& touch) {
    if (bounds().contains(touch.locationInView(*this))) {
        becomeFirstResponder();
    }
}

void TextField::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    const double inset = 6;
    std::string shown = text_;
    if (secure_) {
        shown.clear();
        for (std::size_t i = 0, n = codePointCount(text_); i < n; ++i) {
            shown += "\u2022";
        }
    }
    const bool empty = shown.empty();
    const std::string& line = empty ? placeholder_ : shown;
    const Size size = TextMeasurer::shared().measure(line.empty() ? "M" : line, font_);
    const double y = rect.minY() + (rect.height() - size.height) / 2;
    canvas.pushClip(rect);
    if (!line.empty()) {
        canvas.drawText(line, font_, empty ? Color::rgb(160, 166, 176) : textColor_,
                        {rect.minX() + inset, y});
    }
    if (caretVisible()) {
        const double x = rect.minX() + inset + (empty ? 0 : size.width) + 1;
        canvas.fillRect(makeRect(x, y + 1, 2, size.height - 2), Color::rgb(11, 61, 145));
    }
    canvas.popClip();
}

void TextField::describe(nlohmann::ordered_json& node) const {
    View::describe(node);
    node["text"] = secure_ ? std::string(codePointCount(text_), '*') : text_;
}

} // namespace vestrino::ui
