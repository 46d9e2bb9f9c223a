#pragma once

#include "ui/Clipboard.h"
#include "ui/KeyCommand.h"
#include "ui/Style.h"
#include "ui/View.h"

#include "core/Timer.h"

#include <algorithm>

namespace vestrino::ui {

class TextField;

// What a text field asks and tells its delegate.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) {}
    // `location` and `length` count code points of the current text.
    virtual bool textFieldShouldChangeCharacters(TextField&, std::size_t /*location*/,
                                                 std::size_t /*length*/,
                                                 const std::string& /*replacement*/) {
        return true;
    }
    // After a change the delegate allowed has been made (the text is the new one).
    virtual void textFieldDidChange(TextField&) {}
    virtual bool textFieldShouldReturn(TextField&) { return true; }
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) {}
};

// One line of editable text. A tap makes it the window's first responder, which receives what
// is typed, and puts the caret where it touched; the caret blinks (shown kCaretBlink, hidden
// kCaretBlink, shown again at every edit). The editing keys move the caret and grow a selection
// (from an anchor to the caret), typed text replaces the selection, copy and cut take it (never
// from a secure field, which shows a dot per character). Every change reaches the delegate as
// one proposed change (location, length, replacement) before it is made.
class TextField : public View {
public:
    static constexpr Duration kCaretBlink = std::chrono::milliseconds(530);
    static constexpr double kInset = 6; // between the field's edge and its text
    // Placeholders: at least 4.5:1 on white and on the fields' pale fill (WCAG AA for text).
    static constexpr Color kPlaceholderColor = style::kFieldPlaceholder;
    // Every field shows its edge (at least 3:1 on white and on the pale fill), with round
    // corners; the field being edited has a ring of the accent colour over it.
    static constexpr Color kEdgeColor = style::kFieldEdge;
    static constexpr double kEdgeWidth = 1;
    static constexpr double kCornerRadius = 6;
    static constexpr Color kFocusRingColor = style::kFocusRing;
    static constexpr double kFocusRingWidth = 2;

    TextField();
    explicit TextField(const Rect& frame);

    // How far the focus ring lies outside the field: for a field drawn inside a picture of a
    // field, the ring goes round the picture.
    Size focusRingOutset() const { return focusRingOutset_; }
    void setFocusRingOutset(Size outset) {
        focusRingOutset_ = outset;
        setNeedsDisplay();
    }
    ~TextField() override;

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string text);
    bool secureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool on);
    const Font& font() const { return font_; }
    void setFont(Font font);
    void setTextColor(Color color) {
        textColor_ = color;
        setNeedsDisplay();
    }
    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    // Whether the caret shows now (the first responder only; it blinks).
    bool caretVisible() const;

    // Keyboard input, for the first responder.
    void insertText(const std::string& text);
    void deleteBackward();
    void returnKey();
    // An editing key (arrows, Home, End, Delete, select all, copy, cut, paste, backspace,
    // return); the clipboard for copy, cut and paste. True when the key was one for a field.
    bool editingKey(KeyCommand command, Clipboard* clipboard);

    // The caret and the selection, in code points of the text.
    std::size_t caret() const { return caret_; }
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionLength() const {
        return std::max(anchor_, caret_) - std::min(anchor_, caret_);
    }
    // Selects from `anchor` to `caret` (both clamped to the text).
    void setSelection(std::size_t anchor, std::size_t caret);
    // The position (code points) nearest to `x` points from the field's left edge.
    std::size_t positionAt(double x) const;

    void touchesBegan(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "TextField"; }
    void describe(nlohmann::ordered_json& node) const override;

private:
    void startCaretBlink();
    void startCaretBlinkIfEditing();
    void stopCaretBlink();
    // True when the delegate allowed the change and it was made; the caret ends after it.
    bool replace(std::size_t location, std::size_t length, const std::string& replacement);
    void moveCaret(std::size_t to, bool extend);
    std::string shownText() const;
    // The x of a position, from the text's start (no inset, no scroll).
    double offsetOf(std::size_t position) const;

    std::string text_;
    std::string placeholder_;
    bool secure_ = false;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::black();
    Size focusRingOutset_{0, 0};
    TextFieldDelegate* delegate_ = nullptr;
    std::shared_ptr<Timer> caretTimer_; // repaints while the caret blinks
    TimePoint caretSince_{};            // the caret shows from here, then blinks
    std::size_t caret_ = 0;             // code points
    std::size_t anchor_ = 0;            // the selection's other end
    double scroll_ = 0; // how far the text is shifted left to keep the caret in sight
};

} // namespace vestrino::ui
