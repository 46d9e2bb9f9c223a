#pragma once

#include "ui/View.h"

#include "core/Timer.h"

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
// is typed; the caret stays at the end and blinks (shown kCaretBlink, hidden kCaretBlink,
// shown again at every edit). Secure entry shows a dot per character.
class TextField : public View {
public:
    static constexpr Duration kCaretBlink = std::chrono::milliseconds(530);

    using View::View;
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

    void touchesBegan(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "TextField"; }
    void describe(nlohmann::ordered_json& node) const override;

private:
    void startCaretBlink();
    void stopCaretBlink();
    void replace(std::size_t location, std::size_t length, const std::string& replacement);

    std::string text_;
    std::string placeholder_;
    bool secure_ = false;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::black();
    TextFieldDelegate* delegate_ = nullptr;
    std::shared_ptr<Timer> caretTimer_; // repaints while the caret blinks
    TimePoint caretSince_{};            // the caret shows from here, then blinks
};

} // namespace vestrino::ui
