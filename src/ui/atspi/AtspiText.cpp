#include "ui/atspi/AtspiText.h"

#include "ui/Clipboard.h"
#include "ui/atspi/AtspiComponent.h"

#include "core/Utf8.h"

#include <algorithm>

namespace vestrino::ui::atspi {

namespace {

// Text boundaries and granularities: a character (0); we treat every other as the whole text,
// which is one line.
constexpr std::uint32_t kCharacter = 0;

// What a piece of text is in code points: the slice [from, to), clamped to the text.
struct CodePoints {
    std::string_view text;
    int count;
    explicit CodePoints(std::string_view t) : text(t), count(static_cast<int>(codePointCount(t))) {}
    int clamp(int offset) const { return std::clamp(offset, 0, count); }
    std::string slice(int from, int to) const {
        from = clamp(from);
        to = to < 0 ? count : clamp(to);
        if (to <= from) {
            return {};
        }
        const std::size_t a = byteOffsetOfCodePoint(text, static_cast<std::size_t>(from));
        const std::size_t b = byteOffsetOfCodePoint(text, static_cast<std::size_t>(to));
        return std::string(text.substr(a, b - a));
    }
    // The code point's value at an offset (0 past the end).
    std::int32_t at(int offset) const {
        const std::string one = slice(offset, offset + 1);
        if (one.empty()) {
            return 0;
        }
        const auto b = [&](std::size_t i) { return static_cast<unsigned char>(one[i]); };
        switch (one.size()) {
        case 1:
            return b(0);
        case 2:
            return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        case 3:
            return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        default:
            return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) |
                   (b(3) & 0x3F);
        }
    }
};

GVariant* emptyAttributes() {
    return g_variant_new_array(G_VARIANT_TYPE("{ss}"), nullptr, 0);
}

// The text itself, a piece of it, a character: nullptr for a method of another kind.
GVariant* textCall(const CodePoints& cp, std::string_view method, GVariant* parameters) {
    // A piece of the text and where it lies: (s, start, end).
    const auto piece = [&](int from, int to) {
        from = cp.clamp(from);
        to = std::max(from, cp.clamp(to));
        return g_variant_new("(sii)", cp.slice(from, to).c_str(), from, to);
    };
    if (method == "GetText") {
        gint32 from = 0, to = 0;
        g_variant_get(parameters, "(ii)", &from, &to);
        return g_variant_new("(s)", cp.slice(from, to).c_str());
    }
    if (method == "GetStringAtOffset" || method == "GetTextAtOffset") {
        gint32 offset = 0;
        guint32 unit = 0;
        g_variant_get(parameters, "(iu)", &offset, &unit);
        return unit == kCharacter ? piece(offset, offset + 1) : piece(0, cp.count);
    }
    if (method == "GetTextBeforeOffset" || method == "GetTextAfterOffset") {
        gint32 offset = 0;
        guint32 unit = 0;
        g_variant_get(parameters, "(iu)", &offset, &unit);
        if (unit != kCharacter) {
            return piece(0, 0); // one line: nothing before or after it
        }
        const int at = method == "GetTextBeforeOffset" ? offset - 1 : offset + 1;
        return at < 0 ? piece(0, 0) : piece(at, at + 1);
    }
    if (method == "GetCharacterAtOffset") {
        gint32 offset = 0;
        g_variant_get(parameters, "(i)", &offset);
        return g_variant_new("(i)", cp.at(offset));
    }
    return nullptr;
}

// Attributes (there are none), extents and points: nullptr for a method of another kind.
GVariant* layoutCall(View& view, const CodePoints& cp, std::string_view method,
                     GVariant* parameters, const AtspiComponent& component) {
    if (method == "GetAttributeValue") {
        return g_variant_new("(s)", "");
    }
    if (method == "GetAttributes" || method == "GetAttributeRun") {
        return g_variant_new("(@a{ss}ii)", emptyAttributes(), 0, cp.count);
    }
    if (method == "GetDefaultAttributes" || method == "GetDefaultAttributeSet") {
        return g_variant_new("(@a{ss})", emptyAttributes());
    }
    if (method == "GetCharacterExtents" || method == "GetRangeExtents") {
        guint32 type = 0;
        if (method == "GetCharacterExtents") {
            gint32 offset = 0;
            g_variant_get(parameters, "(iu)", &offset, &type);
        } else {
            gint32 from = 0, to = 0;
            g_variant_get(parameters, "(iiu)", &from, &to, &type);
        }
        const auto e = component.extents(view, type);
        return g_variant_new("(iiii)", e[0], e[1], e[2], e[3]);
    }
    if (method == "GetOffsetAtPoint") {
        return g_variant_new("(i)", -1);
    }
    return nullptr;
}

// The caret and the selection: nullptr for a method of another kind.
GVariant* selectionCall(View& view, const CodePoints& cp, std::string_view method,
                        GVariant* parameters) {
    const auto [selFrom, selTo] = view.accessibleSelection();
    if (method == "GetNSelections") {
        return g_variant_new("(i)", selTo > selFrom ? 1 : 0);
    }
    if (method == "GetSelection") {
        return g_variant_new("(ii)", static_cast<gint32>(selFrom), static_cast<gint32>(selTo));
    }
    if (method == "SetCaretOffset") {
        gint32 offset = 0;
        g_variant_get(parameters, "(i)", &offset);
        const auto at = static_cast<std::size_t>(cp.clamp(offset));
        return g_variant_new("(b)", view.selectAccessibleText(at, at));
    }
    if (method == "AddSelection" || method == "SetSelection") {
        gint32 number = 0, from = 0, to = 0;
        if (method == "AddSelection") {
            g_variant_get(parameters, "(ii)", &from, &to);
        } else {
            g_variant_get(parameters, "(iii)", &number, &from, &to);
        }
        return g_variant_new("(b)", number == 0 && view.selectAccessibleText(
                                                       static_cast<std::size_t>(cp.clamp(from)),
                                                       static_cast<std::size_t>(cp.clamp(to))));
    }
    if (method == "RemoveSelection") {
        const auto caret = view.accessibleCaret().value_or(0);
        return g_variant_new("(b)", view.selectAccessibleText(caret, caret));
    }
    return nullptr;
}

} // namespace

GVariant* AtspiText::call(View& view, std::string_view method, GVariant* parameters,
                          const AtspiComponent& component) {
    const std::string text = view.accessibleText().value_or(std::string());
    const CodePoints cp(text);
    if (auto* reply = textCall(cp, method, parameters)) {
        return reply;
    }
    if (auto* reply = layoutCall(view, cp, method, parameters, component)) {
        return reply;
    }
    return selectionCall(view, cp, method, parameters);
}

GVariant* AtspiText::editCall(View& view, std::string_view method, GVariant* parameters,
                              Clipboard* clipboard) {
    const std::string text = view.accessibleText().value_or(std::string());
    const CodePoints cp(text);
    const bool secure = view.accessibleRole() == AccessibleRole::PasswordText;
    const auto span = [&](gint32 from, gint32 to) {
        const int a = cp.clamp(from);
        return std::pair<std::size_t, std::size_t>(a,
                                                   std::max(a, to < 0 ? cp.count : cp.clamp(to)));
    };
    if (method == "SetTextContents") {
        const gchar* contents = nullptr;
        g_variant_get(parameters, "(&s)", &contents);
        return g_variant_new(
            "(b)", view.editAccessibleText(0, static_cast<std::size_t>(cp.count), contents));
    }
    if (method == "InsertText") {
        gint32 position = 0, length = 0;
        const gchar* inserted = nullptr;
        g_variant_get(parameters, "(i&si)", &position, &inserted, &length);
        std::string piece = inserted;
        if (length >= 0) {
            piece = firstCodePoints(piece, static_cast<std::size_t>(length));
        }
        const auto at = static_cast<std::size_t>(cp.clamp(position));
        return g_variant_new("(b)", view.editAccessibleText(at, at, piece));
    }
    if (method == "DeleteText" || method == "CutText" || method == "CopyText") {
        gint32 from = 0, to = 0;
        g_variant_get(parameters, "(ii)", &from, &to);
        const auto [a, b] = span(from, to);
        // What a secure field holds never reaches the clipboard.
        if (method != "DeleteText" && !secure && clipboard) {
            clipboard->setText(cp.slice(static_cast<int>(a), static_cast<int>(b)));
        }
        if (method == "CopyText") {
            return g_variant_new("()");
        }
        return g_variant_new("(b)", (method == "DeleteText" || !secure) &&
                                        view.editAccessibleText(a, b, std::string()));
    }
    if (method == "PasteText") {
        gint32 position = 0;
        g_variant_get(parameters, "(i)", &position);
        const auto pasted = clipboard ? clipboard->text() : std::nullopt;
        const auto at = static_cast<std::size_t>(cp.clamp(position));
        return g_variant_new(
            "(b)", pasted && view.editAccessibleText(
                                 at, at, pasted->substr(0, pasted->find_first_of("\r\n"))));
    }
    return nullptr;
}

GVariant* AtspiText::property(const View& view, std::string_view name) {
    if (name == "CharacterCount") {
        return g_variant_new_int32(CodePoints(view.accessibleText().value_or("")).count);
    }
    if (name == "CaretOffset") {
        return g_variant_new_int32(static_cast<gint32>(view.accessibleCaret().value_or(0)));
    }
    return nullptr;
}

} // namespace vestrino::ui::atspi
