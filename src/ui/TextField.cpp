#include "ui/TextField.h"
#include "ui/LayoutNode.h"

#include "core/RunLoop.h"
#include "core/Utf8.h"
#include "ui/Window.h"

#include <cmath>

namespace vestrino::ui {

void TextField::setText(std::string text) {
    model_.setText(std::move(text));
    setNeedsDisplay();
}

void TextField::setSelection(std::size_t anchor, std::size_t caret) {
    model_.setSelection(anchor, caret);
    changed(false);
}

TextEditingModel::Filter TextField::filter() {
    return [this](const TextChange& change) {
        return !delegate_ || delegate_->textFieldShouldChangeCharacters(
                                 *this, change.location, change.length, change.replacement);
    };
}

void TextField::changed(bool edited) {
    startCaretBlinkIfEditing(); // a caret that is being typed at or moved does not blink
    setNeedsDisplay();
    if (edited && delegate_) {
        delegate_->textFieldDidChange(*this);
    }
}

std::string TextField::shownText() const {
    if (!model_.secure()) {
        return model_.text();
    }
    std::string dots;
    for (std::size_t i = 0, n = model_.length(); i < n; ++i) {
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
    const double target = x - kInset + scroll_;
    const auto offsets = TextMeasurer::shared().caretOffsets(shownText(), font_);
    std::size_t best = 0;
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        if (std::abs(offsets[i] - target) < std::abs(offsets[best] - target)) {
            best = i;
        }
    }
    return best;
}

bool TextField::keyDown(KeyCommand command) {
    switch (command) {
    case KeyCommand::Left:
    case KeyCommand::SelectLeft:
        model_.moveLeft(command == KeyCommand::SelectLeft);
        break;
    case KeyCommand::Right:
    case KeyCommand::SelectRight:
        model_.moveRight(command == KeyCommand::SelectRight);
        break;
    case KeyCommand::Home:
    case KeyCommand::SelectHome:
        model_.moveHome(command == KeyCommand::SelectHome);
        break;
    case KeyCommand::End:
    case KeyCommand::SelectEnd:
        model_.moveEnd(command == KeyCommand::SelectEnd);
        break;
    case KeyCommand::SelectAll:
        model_.selectAll();
        break;
    case KeyCommand::Backspace:
        deleteBackward();
        return true;
    case KeyCommand::DeleteForward:
        changed(model_.deleteForward(filter()));
        return true;
    case KeyCommand::Copy:
        // What a secure field holds never leaves it (the model gives nothing).
        if (const auto text = model_.copy(); text && window() && window()->clipboard()) {
            window()->clipboard()->setText(*text);
        }
        return true;
    case KeyCommand::Cut: {
        const auto text = model_.copy();
        if (text && window() && window()->clipboard() && model_.cut(filter())) {
            window()->clipboard()->setText(*text);
            changed(true);
        }
        return true;
    }
    case KeyCommand::Paste: {
        auto* clipboard = window() ? window()->clipboard().get() : nullptr;
        if (const auto text = clipboard ? clipboard->text() : std::nullopt) {
            // One line: a field has no room for more, and a line break would be typed into it.
            insertText(text->substr(0, text->find_first_of("\r\n")));
        }
        return true;
    }
    case KeyCommand::Undo:
        changed(model_.undo(filter()));
        return true;
    case KeyCommand::Redo:
        changed(model_.redo(filter()));
        return true;
    case KeyCommand::Return:
        returnKey();
        return true;
    case KeyCommand::Space:
        return true; // the space itself arrives as typed text
    default:
        return false;
    }
    changed(false);
    return true;
}

void TextField::setPlaceholder(std::string text) {
    placeholder_ = std::move(text);
    setNeedsDisplay();
}

void TextField::setSecureTextEntry(bool on) {
    model_.setSecure(on);
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

void TextField::focusReturned() {
    startCaretBlinkIfEditing();
    setNeedsDisplay();
}

bool TextField::caretVisible() const {
    if (!isFirstResponder()) {
        return false;
    }
    const auto since = RunLoop::main().clock().now() - caretSince_;
    return since < Duration::zero() || (since / kCaretBlink) % 2 == 0;
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

bool TextField::insertText(const std::string& text) {
    changed(model_.insert(text, filter()));
    return true;
}

void TextField::deleteBackward() {
    changed(model_.deleteBackward(filter()));
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
        const std::size_t at = positionAt(p.x);
        setSelection(at, at);
    }
}

TextField::TextField() : TextField(Rect{}) {}

TextField::TextField(const Rect& frame) : View(frame) {
    setCornerRadius(kCornerRadius);
    setBorder(kEdgeWidth, kEdgeColor);
}

void TextField::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    if (showsFocus()) {
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
    const double caretAt = empty ? 0 : offsetOf(model_.caret());
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

std::string TextField::accessibleName() const {
    if (!accessibilityLabel().empty()) {
        return accessibilityLabel();
    }
    if (const View* caption = accessibleLabelledBy()) {
        return caption->accessibleName();
    }
    return placeholder_;
}

const View* TextField::accessibleLabelledBy() const {
    // The label that captions the field, found by name among the views around it.
    if (!labelledBy_.empty()) {
        for (const View* scope = superview(); scope; scope = scope->superview()) {
            for (const auto& v : scope->subviews()) {
                if (v->name() == labelledBy_) {
                    return v.get();
                }
            }
        }
    }
    return nullptr;
}

std::optional<std::string> TextField::accessibleText() const {
    if (!model_.secure()) {
        return model_.text();
    }
    // Its length and nothing else: a dot (U+2022) a character, as the field draws it.
    std::string dots;
    for (std::size_t i = 0; i < model_.length(); ++i) {
        dots += "\u2022";
    }
    return dots;
}

bool TextField::editAccessibleText(std::size_t from, std::size_t to,
                                   const std::string& replacement) {
    if (!userInteractionEnabled() || from > to || to > model_.length()) {
        return false;
    }
    const std::string before = model_.text();
    setSelection(from, to);
    if (replacement.empty()) {
        if (from != to) {
            deleteBackward();
        }
    } else {
        insertText(replacement);
    }
    return model_.text() != before || (from == to && replacement.empty());
}

AccessibleStates TextField::accessibleStates() const {
    AccessibleStates s = View::accessibleStates();
    s.editable = s.enabled;
    return s;
}

void TextField::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("text", model_.secure() ? std::string(model_.length(), '*') : model_.text());
    node.set("placeholder", placeholder_);
    // The colour of what shows: the text, or the placeholder while there is none.
    node.setColor("textColor",
                  paintedColor(model_.text().empty() ? kPlaceholderColor : textColor_));
    node.setFont("font", font_);
    if (isFirstResponder()) {
        node.set("caret", static_cast<long long>(model_.caret()));
        node.setList("selection", {static_cast<long long>(selectionStart()),
                                   static_cast<long long>(selectionLength())});
    }
}

void TextField::applyLayout(const LayoutNode& node) {
    if (node.has("placeholder"))
        setPlaceholder(node.words("placeholder"));
    if (node.has("secure"))
        setSecureTextEntry(node.boolean("secure"));
    if (node.has("font"))
        setFont(node.font("font"));
    if (node.has("focusRingOutset"))
        setFocusRingOutset(node.size("focusRingOutset"));
    if (node.has("labelledBy"))
        setLabelledBy(node.text("labelledBy"));
    View::applyLayout(node);
}

} // namespace vestrino::ui
