#include "ui/TextEditingModel.h"

#include "core/Utf8.h"

#include <algorithm>

namespace vestrino::ui {

namespace {
// How many steps undo keeps: enough for a line of typing, bounded for a field left open.
constexpr std::size_t kUndoDepth = 100;
} // namespace

void TextEditingModel::setText(std::string text) {
    text_ = isValidUtf8(text) ? std::move(text) : std::string();
    length_ = codePointCount(text_);
    caret_ = anchor_ = length_;
    undo_.clear();
    redo_.clear();
    typingRun_ = false;
    ++version_;
}

void TextEditingModel::setSelection(std::size_t anchor, std::size_t caret) {
    anchor_ = std::min(anchor, length_);
    caret_ = std::min(caret, length_);
    typingRun_ = false;
}

void TextEditingModel::moveLeft(bool extend) {
    if (!extend && selectionLength() > 0) {
        setSelection(selectionStart(), selectionStart());
        return;
    }
    const std::size_t to = caret_ > 0 ? caret_ - 1 : 0;
    setSelection(extend ? anchor_ : to, to);
}

void TextEditingModel::moveRight(bool extend) {
    if (!extend && selectionLength() > 0) {
        const std::size_t end = selectionStart() + selectionLength();
        setSelection(end, end);
        return;
    }
    const std::size_t to = std::min(length_, caret_ + 1);
    setSelection(extend ? anchor_ : to, to);
}

void TextEditingModel::moveHome(bool extend) {
    setSelection(extend ? anchor_ : 0, 0);
}

void TextEditingModel::moveEnd(bool extend) {
    setSelection(extend ? anchor_ : length_, length_);
}

std::string TextEditingModel::slice(std::size_t location, std::size_t length) const {
    const std::size_t from = byteOffsetOfCodePoint(text_, location);
    const std::size_t to = byteOffsetOfCodePoint(text_, location + length);
    return text_.substr(from, to - from);
}

bool TextEditingModel::apply(const TextChange& change, const Filter& filter) {
    if (!isValidUtf8(change.replacement) || change.location + change.length > length_) {
        return false;
    }
    const unsigned before = version_;
    if (filter && !filter(change)) {
        return false;
    }
    if (version_ != before) {
        return false; // the filter set the text itself: the proposed change no longer fits
    }
    const std::size_t from = byteOffsetOfCodePoint(text_, change.location);
    const std::size_t to = byteOffsetOfCodePoint(text_, change.location + change.length);
    text_.replace(from, to - from, change.replacement);
    length_ = codePointCount(text_);
    caret_ = anchor_ = change.location + codePointCount(change.replacement);
    ++version_;
    return true;
}

void TextEditingModel::record(Step step, bool typing) {
    redo_.clear();
    // Typing straight after typing, at the caret it left, joins the same step.
    if (typing && typingRun_ && !undo_.empty() && step.change.length == 0) {
        Step& last = undo_.back();
        if (last.change.location + codePointCount(last.change.replacement) ==
            step.change.location) {
            last.change.replacement += step.change.replacement;
            return;
        }
    }
    undo_.push_back(std::move(step));
    if (undo_.size() > kUndoDepth) {
        undo_.erase(undo_.begin());
    }
    typingRun_ = typing;
}

bool TextEditingModel::insert(const std::string& text, const Filter& filter) {
    if (text.empty() && selectionLength() == 0) {
        return false;
    }
    Step step{{selectionStart(), selectionLength(), text},
              slice(selectionStart(), selectionLength()),
              anchor_,
              caret_};
    if (!apply(step.change, filter)) {
        return false;
    }
    record(std::move(step), true);
    return true;
}

bool TextEditingModel::deleteBackward(const Filter& filter) {
    if (selectionLength() == 0 && caret_ == 0) {
        return false;
    }
    const TextChange change = selectionLength() > 0
                                  ? TextChange{selectionStart(), selectionLength(), ""}
                                  : TextChange{caret_ - 1, 1, ""};
    Step step{change, slice(change.location, change.length), anchor_, caret_};
    if (!apply(change, filter)) {
        return false;
    }
    record(std::move(step), false);
    return true;
}

bool TextEditingModel::deleteForward(const Filter& filter) {
    if (selectionLength() == 0 && caret_ >= length_) {
        return false;
    }
    const TextChange change = selectionLength() > 0
                                  ? TextChange{selectionStart(), selectionLength(), ""}
                                  : TextChange{caret_, 1, ""};
    Step step{change, slice(change.location, change.length), anchor_, caret_};
    if (!apply(change, filter)) {
        return false;
    }
    record(std::move(step), false);
    return true;
}

std::optional<std::string> TextEditingModel::copy() const {
    // What a secure field holds never leaves it.
    if (secure_ || selectionLength() == 0) {
        return std::nullopt;
    }
    return slice(selectionStart(), selectionLength());
}

std::optional<std::string> TextEditingModel::cut(const Filter& filter) {
    auto taken = copy();
    if (!taken) {
        return std::nullopt;
    }
    Step step{{selectionStart(), selectionLength(), ""}, *taken, anchor_, caret_};
    if (!apply(step.change, filter)) {
        return std::nullopt;
    }
    record(std::move(step), false);
    return taken;
}

bool TextEditingModel::undo(const Filter& filter) {
    if (undo_.empty()) {
        return false;
    }
    const Step step = undo_.back();
    const TextChange inverse{step.change.location, codePointCount(step.change.replacement),
                             step.removed};
    if (!apply(inverse, filter)) {
        return false;
    }
    undo_.pop_back();
    redo_.push_back(step);
    setSelection(step.anchorBefore, step.caretBefore);
    return true;
}

bool TextEditingModel::redo(const Filter& filter) {
    if (redo_.empty()) {
        return false;
    }
    const Step step = redo_.back();
    if (!apply(step.change, filter)) {
        return false;
    }
    redo_.pop_back();
    undo_.push_back(step);
    typingRun_ = false;
    return true;
}

} // namespace vestrino::ui
