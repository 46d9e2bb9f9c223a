#pragma once

#include "ui/Clipboard.h"
#include "ui/KeyCommand.h"
#include "ui/Style.h"
#include "ui/TextEditingModel.h"
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
// kCaretBlink, shown again at every edit). What it edits (text, caret, selection, undo) is its
// TextEditingModel; the field draws it, times the caret and turns keys into the model's moves
// and edits, every edit reaching the delegate as one proposed change (location, length,
// replacement) before it is made. A secure field shows a dot per character and never gives its
// text to the clipboard.
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
    static constexpr double kFocusRingWidth = style::kFocusRingWidth;

    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;

    // How far the focus ring lies outside the field: for a field drawn inside a picture of a
    // field, the ring goes round the picture.
    Size focusRingOutset() const { return focusRingOutset_; }
    void setFocusRingOutset(Size outset) {
        focusRingOutset_ = outset;
        setNeedsDisplay();
    }

    const std::string& text() const { return model_.text(); }
    void setText(std::string text);
    const std::string& placeholder() const { return placeholder_; }
    void setPlaceholder(std::string text);
    bool secureTextEntry() const { return model_.secure(); }
    void setSecureTextEntry(bool on);
    const Font& font() const { return font_; }
    void setFont(Font font);
    void setTextColor(Color color) {
        textColor_ = color;
        setNeedsDisplay();
    }
    TextFieldDelegate* delegate() const { return delegate_; }
    void setDelegate(TextFieldDelegate* delegate) { delegate_ = delegate; }

    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool acceptsTextInput() const override { return true; }
    void focusReturned() override;
    // Whether the caret shows now (the first responder only; it blinks).
    bool caretVisible() const;

    // Typed text replaces the selection (or goes in at the caret).
    bool insertText(const std::string& text) override;
    void deleteBackward();
    void returnKey();
    // The editing keys (arrows, Home, End, Delete, select all, copy, cut, paste, undo, redo,
    // backspace, return; the space arrives as text). Other keys go on along the chain.
    bool keyDown(KeyCommand command) override;

    // The caret and the selection, in code points of the text.
    std::size_t caret() const { return model_.caret(); }
    std::size_t selectionStart() const { return model_.selectionStart(); }
    std::size_t selectionLength() const { return model_.selectionLength(); }
    // Selects from `anchor` to `caret` (both clamped to the text).
    void setSelection(std::size_t anchor, std::size_t caret);
    // The position (code points) nearest to `x` points from the field's left edge; the text is
    // measured once.
    std::size_t positionAt(double x) const;

    void touchesBegan(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "TextField"; }
    AccessibleRole defaultAccessibleRole() const override {
        return secureTextEntry() ? AccessibleRole::PasswordText : AccessibleRole::Entry;
    }
    std::string accessibleName() const override;
    AccessibleStates accessibleStates() const override;
    std::vector<std::string> accessibleActions() const override { return {"activate"}; }
    // Activating a field gives it the focus, as a touch on it does.
    bool doAccessibleAction(std::string_view action) override {
        return action == "activate" && userInteractionEnabled() && becomeFirstResponder();
    }
    // The name of a label that captions this field (its name is read out for the field).
    void setLabelledBy(std::string labelName) { labelledBy_ = std::move(labelName); }
    const View* accessibleLabelledBy() const override;
    std::optional<std::string> accessibleText() const override;
    bool editAccessibleText(std::size_t from, std::size_t to,
                            const std::string& replacement) override;
    std::optional<std::size_t> accessibleCaret() const override { return caret(); }
    std::pair<std::size_t, std::size_t> accessibleSelection() const override {
        return {selectionStart(), selectionStart() + selectionLength()};
    }
    bool selectAccessibleText(std::size_t from, std::size_t to) override {
        setSelection(from, to);
        return true;
    }
    void describe(ViewDescription& node) const override;
    void applyLayout(const LayoutNode& node) override;

protected:
    bool focusableByDefault() const override { return true; }
    // The ring is drawn with the field, under its text.
    void drawFocusRing(Canvas&, const Rect&) override {}

private:
    void startCaretBlink();
    void startCaretBlinkIfEditing();
    void stopCaretBlink();
    // After the model changed: the caret shows again, the field repaints, and after an edit the
    // delegate hears of it.
    void changed(bool edited);
    // The filter the model asks: the delegate's answer.
    TextEditingModel::Filter filter();
    std::string shownText() const;
    // The x of a position, from the text's start (no inset, no scroll).
    double offsetOf(std::size_t position) const;

    TextEditingModel model_;
    std::string placeholder_;
    std::string labelledBy_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = style::kInk;
    Size focusRingOutset_{0, 0};
    TextFieldDelegate* delegate_ = nullptr;
    std::shared_ptr<Timer> caretTimer_; // repaints while the caret blinks
    TimePoint caretSince_{};            // the caret shows from here, then blinks
    double scroll_ = 0; // how far the text is shifted left to keep the caret in sight
};

} // namespace vestrino::ui
