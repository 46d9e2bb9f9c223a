#include "ui/TextField.h"

#include "core/RunLoop.h"
#include "core/Utf8.h"
#include "ui/Window.h"

namespace vestrino::ui {

void TextField::setText(std::string text) {
    text_ = isValidUtf8(text) ? std::move(text) : std::string();
    caret_ = anchor_ = codePointCount(text_);
    setNeedsDisplay();
}

void TextField::setSelection(std::size_t anchor, std::size_t caret) {
    const std::size_t n = codePointCount(text_);
    anchor_ = std::min(anchor, n);
    caret_ = std::min(caret, n);
    startCaretBlinkIfEditing();
    setNeedsDisplay();
}

void TextField::moveCaret(std::size_t to, bool extend) {
    caret_ = std::min(to, codePointCount(text_));
    if (!extend) {
        anchor_ = caret_;
    }
    startCaretBlinkIfEditing();
    setNeedsDisplay();
}

std::string TextField::shownText() const {
    if (!secure_) {
        return text_;
    }
    std::string dots;
    for (std::size_t i = 0, n = codePointCount(text_); i < n; ++i) {
        dots += "\u2022";
    }
    return dots;
}

double TextField::offsetOf(std::size_t position) const {
    const std::string shown = shownText();
    const std::string prefix = shown.substr(0, byteOffsetOfCodePoint(shown, position));
    return prefix.empty() ? 0 : TextMeasurer::shared().measure(prefix, font_).width;
}

std::size_t TextField::positionAt(double x) const {
    const std::size_t n = codePointCount(text_);
    const double target = x - kInset + scroll_;
    std::size_t best = 0;
    double bestDistance = std::abs(target);
    for (std::size_t i = 1; i <= n; ++i) {
        const double d = std::abs(offsetOf(i) - target);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

bool TextField::editingKey(KeyCommand command, Clipboard* clipboard) {
    const std::size_t n = codePointCount(text_);
    const std::size_t start = selectionStart(), length = selectionLength();
    switch (command) {
    case KeyCommand::Left:
        // A selection collapses to its start; otherwise one character back.
        moveCaret(length > 0 ? start : (caret_ > 0 ? caret_ - 1 : 0), false);
        return true;
    case KeyCommand::Right:
        moveCaret(length > 0 ? start + length : std::min(n, caret_ + 1), false);
        return true;
    case KeyCommand::SelectLeft:
        moveCaret(caret_ > 0 ? caret_ - 1 : 0, true);
        return true;
    case KeyCommand::SelectRight:
        moveCaret(std::min(n, caret_ + 1), true);
        return true;
    case KeyCommand::Home:
    case KeyCommand::SelectHome:
        moveCaret(0, command == KeyCommand::SelectHome);
        return true;
    case KeyCommand::End:
    case KeyCommand::SelectEnd:
        moveCaret(n, command == KeyCommand::SelectEnd);
        return true;
    case KeyCommand::SelectAll:
        setSelection(0, n);
        return true;
    case KeyCommand::Backspace:
        deleteBackward();
        return true;
    case KeyCommand::DeleteForward:
        if (length > 0) {
            replace(start, length, "");
        } else if (caret_ < n) {
            replace(caret_, 1, "");
        }
        return true;
    case KeyCommand::Copy:
    case KeyCommand::Cut:
        // What a secure field holds never leaves it.
        if (secure_ || length == 0 || !clipboard) {
            return true;
        }
        clipboard->setText(text_.substr(byteOffsetOfCodePoint(text_, start),
                                        byteOffsetOfCodePoint(text_, start + length) -
                                            byteOffsetOfCodePoint(text_, start)));
        if (command == KeyCommand::Cut) {
            replace(start, length, "");
        }
        return true;
    case KeyCommand::Paste: {
        const auto text = clipboard ? clipboard->text() : std::nullopt;
        if (text) {
            // One line: a field has no room for more, and a line break would be typed into it.
            insertText(text->substr(0, text->find_first_of("\r\n")));
        }
        return true;
    }
    case KeyCommand::Return:
        returnKey();
        return true;
    default:
        return false;
    }
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

void TextField::startCaretBlinkIfEditing() {
    if (isFirstResponder()) {
        startCaretBlink();
    }
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

bool TextField::replace(std::size_t location, std::size_t length, const std::string& replacement) {
    if (!isValidUtf8(replacement)) {
        return false;
    }
    if (delegate_ &&
        !delegate_->textFieldShouldChangeCharacters(*this, location, length, replacement)) {
        return false;
    }
    const std::size_t from = byteOffsetOfCodePoint(text_, location);
    const std::size_t to = byteOffsetOfCodePoint(text_, location + length);
    text_.replace(from, to - from, replacement);
    caret_ = anchor_ = location + codePointCount(replacement);
    startCaretBlinkIfEditing(); // a caret that is being typed at does not blink
    setNeedsDisplay();
    if (delegate_) {
        delegate_->textFieldDidChange(*this);
    }
    return true;
}

void TextField::insertText(const std::string& text) {
    // Typed text takes the selection's place (or goes in at the caret).
    if (!text.empty() || selectionLength() > 0) {
        replace(selectionStart(), selectionLength(), text);
    }
}

void TextField::deleteBackward() {
    if (selectionLength() > 0) {
        replace(selectionStart(), selectionLength(), "");
    } else if (caret_ > 0) {
        replace(caret_ - 1, 1, "");
    }
}

void TextField::returnKey() {
    if (delegate_) {
        delegate_->textFieldShouldReturn(*this);
    }
}

void TextField::touchesBegan(const Touch&) {}

void TextField::touchesEnded(const Touch& touch) {
    const Point p = touch.locationInView(*this);
    if (bounds().contains(p) && becomeFirstResponder()) {
        // The caret goes where the finger (the mouse) touched.
        moveCaret(positionAt(p.x), false);
    }
}

TextField::TextField() : TextField(Rect{}) {}

TextField::TextField(const Rect& frame) : View(frame) {
    setCornerRadius(kCornerRadius);
    setBorder(kEdgeWidth, kEdgeColor);
}

void TextField::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    if (isFirstResponder()) {
        const Size o = focusRingOutset_;
        canvas.strokeRoundedRect(makeRect(rect.minX() - o.width, rect.minY() - o.height,
                                          rect.width() + 2 * o.width, rect.height() + 2 * o.height),
                                 cornerRadius(), kFocusRingWidth, kFocusRingColor);
    }
    const std::string shown = shownText();
    const bool empty = shown.empty();
    const std::string& line = empty ? placeholder_ : shown;
    const Size size = TextMeasurer::shared().measure(line.empty() ? "M" : line, font_);
    const double y = rect.minY() + (rect.height() - size.height) / 2;
    // Keep the caret in sight: the text slides left when the caret would pass the right edge.
    const double room = rect.width() - 2 * kInset - 2;
    const double caretAt = empty ? 0 : offsetOf(caret_);
    scroll_ = std::clamp(scroll_, std::max(0.0, caretAt - room), std::max(0.0, caretAt));
    if (empty) {
        scroll_ = 0;
    }
    const double x0 = rect.minX() + kInset - scroll_;
    canvas.pushClip(rect);
    if (isFirstResponder() && selectionLength() > 0) {
        const double a = offsetOf(selectionStart()),
                     b = offsetOf(selectionStart() + selectionLength());
        canvas.fillRect(makeRect(x0 + a, y, b - a, size.height), style::kSelection);
    }
    if (!line.empty()) {
        canvas.drawText(line, font_, empty ? kPlaceholderColor : textColor_, {x0, y});
    }
    if (caretVisible()) {
        canvas.fillRect(makeRect(x0 + caretAt, y + 1, 2, size.height - 2), style::kCaret);
    }
    canvas.popClip();
}

void TextField::describe(nlohmann::ordered_json& node) const {
    View::describe(node);
    node["text"] = secure_ ? std::string(codePointCount(text_), '*') : text_;
    if (isFirstResponder()) {
        node["caret"] = caret_;
        node["selection"] = {selectionStart(), selectionLength()};
    }
}

} // namespace vestrino::ui
