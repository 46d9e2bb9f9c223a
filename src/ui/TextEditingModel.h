#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vestrino::ui {

// One edit of a line of text: `length` code points from `location` replaced by `replacement`.
struct TextChange {
    std::size_t location = 0;
    std::size_t length = 0;
    std::string replacement;
    bool operator==(const TextChange&) const = default;
};

// What a text field edits, apart from how it is drawn or timed: the text (UTF-8), the caret
// and the selection's other end (the anchor), both in code points, and the history of edits
// for undo and redo. Every edit is first proposed to the filter (the field's delegate) as one
// change and made only when it agrees. A secure model (a password, a CVV2) never hands its text
// out to be copied. Typing at the caret joins one undo step until the caret moves by itself.
class TextEditingModel {
public:
    // Asked before every edit; false refuses it.
    using Filter = std::function<bool(const TextChange&)>;

    const std::string& text() const { return text_; }
    // Replaces the text (not an edit: no filter, no undo step; the history is dropped) and puts
    // the caret at its end. Text that is not UTF-8 is refused as empty.
    void setText(std::string text);
    bool secure() const { return secure_; }
    void setSecure(bool on) { secure_ = on; }

    std::size_t length() const { return length_; }
    std::size_t caret() const { return caret_; }
    std::size_t anchor() const { return anchor_; }
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionLength() const { return std::max(anchor_, caret_) - selectionStart(); }
    // Both clamped to the text.
    void setSelection(std::size_t anchor, std::size_t caret);

    // Caret moves; with `extend` the anchor stays, so the selection grows or shrinks. A plain
    // Left or Right over a selection collapses it to that end.
    void moveLeft(bool extend);
    void moveRight(bool extend);
    void moveHome(bool extend);
    void moveEnd(bool extend);
    void selectAll() { setSelection(0, length_); }

    // Edits, each one proposed change; true when it was made.
    bool insert(const std::string& text, const Filter& filter);
    bool deleteBackward(const Filter& filter);
    bool deleteForward(const Filter& filter);
    // The selected text for the clipboard: nothing from a secure model or an empty selection.
    std::optional<std::string> copy() const;
    // The same, and the selection deleted (when the filter agrees).
    std::optional<std::string> cut(const Filter& filter);
    bool undo(const Filter& filter);
    bool redo(const Filter& filter);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

private:
    struct Step {
        TextChange change;
        std::string removed;
        std::size_t anchorBefore = 0, caretBefore = 0;
    };
    // Proposes and makes the change; the caret ends after the replacement.
    bool apply(const TextChange& change, const Filter& filter);
    std::string slice(std::size_t location, std::size_t length) const;
    void record(Step step, bool typing);

    std::string text_;
    std::size_t length_ = 0; // code points
    std::size_t caret_ = 0;
    std::size_t anchor_ = 0;
    bool secure_ = false;
    std::vector<Step> undo_, redo_;
    bool typingRun_ = false; // the last step was typing that more typing may join
    unsigned version_ = 0;   // counts every change of the text, also from inside a filter
};

} // namespace vestrino::ui
