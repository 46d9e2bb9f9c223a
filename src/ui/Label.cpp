#include "ui/Label.h"
#include "ui/LayoutNode.h"

#include "core/UnicodeText.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace vestrino::ui {

void Label::setText(std::string text) {
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(Font font) {
    font_ = std::move(font);
    setNeedsDisplay();
}

void Label::setTextColor(Color color) {
    textColor_ = color;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setWrapsText(bool on) {
    wraps_ = on;
    setNeedsDisplay();
}

void Label::setLetterSpacing(double points) {
    letterSpacing_ = points;
    setNeedsDisplay();
}

double Label::lineWidth(std::string_view line) const {
    const double width = TextMeasurer::shared().measure(line, font_).width;
    if (letterSpacing_ == 0 || wraps_ || line.empty()) {
        return width;
    }
    const std::size_t characters = graphemeEnds(line, line.size()).size();
    return width + letterSpacing_ * static_cast<double>(characters - 1);
}

namespace {

// Where the piece of a long word that starts at `from` ends: after its next slash, or its next
// hyphen that is not between two digits ("Lumacard-" | "5670-2026-12-07.csv"); the word's end
// when there is none.
std::size_t nextBreakAfterMark(std::string_view word, std::size_t from) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = from; i < word.size(); ++i) {
        if (word[i] == '/') {
            return i + 1;
        }
        if (word[i] == '-' &&
            !(i > 0 && digit(word[i - 1]) && i + 1 < word.size() && digit(word[i + 1]))) {
            return i + 1;
        }
    }
    return word.size();
}

// Greedy breaking of one paragraph (no line breaks inside) into lines no wider than `width`.
void wrapParagraph(std::string_view text, const Font& font, double width,
                   std::vector<std::string>& out) {
    TextMeasurer& m = TextMeasurer::shared();
    auto fits = [&](std::string_view s) { return m.measure(s, font).width <= width; };
    std::string line;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t space = text.find(' ', i);
        const std::size_t end = space == std::string_view::npos ? text.size() : space;
        const std::string_view word = text.substr(i, end - i);
        const std::string candidate =
            line.empty() ? std::string(word) : line + " " + std::string(word);
        if (fits(candidate)) {
            line = candidate;
        } else if (!line.empty() && fits(word)) {
            out.push_back(std::move(line));
            line = std::string(word);
        } else {
            // A word wider than the label: as many characters as fit on each line.
            if (!line.empty()) {
                out.push_back(std::move(line));
                line.clear();
            }
            // Broken after its hyphens and slashes (a file's path and name), so that a number
            // or a date stays whole; a piece still wider than the label in whole characters
            // (grapheme clusters), never half of one.
            std::size_t k = 0;
            while (k < word.size()) {
                const std::size_t pieceEnd = nextBreakAfterMark(word, k);
                const std::string_view piece = word.substr(k, pieceEnd - k);
                if (fits(line + std::string(piece))) {
                    line += piece;
                } else if (fits(piece)) {
                    out.push_back(std::move(line));
                    line = std::string(piece);
                } else {
                    // Too wide for any line: it starts one of its own.
                    if (!line.empty()) {
                        out.push_back(std::move(line));
                        line.clear();
                    }
                    std::size_t c = 0;
                    for (const std::size_t clusterEnd : graphemeEnds(piece, piece.size())) {
                        const std::string_view character = piece.substr(c, clusterEnd - c);
                        const std::string next = line + std::string(character);
                        if (!line.empty() && !fits(next)) {
                            out.push_back(std::move(line));
                            line = std::string(character);
                        } else {
                            line = next;
                        }
                        c = clusterEnd;
                    }
                }
                k = pieceEnd;
            }
        }
        i = end == text.size() ? end : end + 1;
    }
    out.push_back(std::move(line));
}

constexpr std::string_view kEllipsis = "\u2026";
// No glyph is narrower than this many points at any size used: a line of more code points than
// the width allows at that narrowness cannot fit, whatever its letters.
constexpr double kNarrowestGlyph = 1.5;

} // namespace

std::string Label::fittedLine(std::string_view line, double width) const {
    // Only what could ever show is measured: a line of a million characters costs the same as
    // one a little wider than the label.
    const auto most = static_cast<std::size_t>(std::max(0.0, width) / kNarrowestGlyph) + 2;
    const std::size_t cut = byteOffsetOfCodePoint(line, most * kMaxClusterCodePoints);
    if (cut == line.size() && lineWidth(line) <= width) {
        return std::string(line);
    }
    // The longest beginning in whole characters (grapheme clusters: an accent stays with its
    // letter) that fits with the ellipsis after it.
    const std::vector<std::size_t> ends = graphemeEnds(line.substr(0, cut), most);
    auto prefix = [&](std::size_t count) {
        return line.substr(0, count == 0 ? 0 : ends[count - 1]);
    };
    std::size_t lo = 0, hi = ends.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi + 1) / 2;
        std::string candidate(prefix(mid));
        candidate += kEllipsis;
        if (lineWidth(candidate) <= width) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    std::string fitted(prefix(lo));
    while (!fitted.empty() && fitted.back() == ' ') {
        fitted.pop_back(); // "PAGAMENTO…", not "PAGAMENTO …"
    }
    return fitted + std::string(kEllipsis);
}

std::vector<std::string> Label::lines(double width) const {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text_.find('\n', start), text_.size());
        const std::string_view paragraph = std::string_view(text_).substr(start, end - start);
        if (wraps_ && width > 0) {
            wrapParagraph(paragraph, font_, width, out);
        } else if (width > 0) {
            out.push_back(fittedLine(paragraph, width));
        } else {
            out.emplace_back(paragraph);
        }
        if (end >= text_.size()) {
            break;
        }
        start = end + 1;
    }
    return out;
}

double Label::textHeight(double width) const {
    const std::size_t n = lines(width).size();
    const double line = TextMeasurer::shared().lineHeight(font_);
    const Size first = TextMeasurer::shared().measure("M", font_);
    return first.height + line * static_cast<double>(n - 1);
}

void Label::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    if (text_.empty()) {
        return;
    }
    const double lineStep = TextMeasurer::shared().lineHeight(font_);
    const auto all = lines(rect.width());
    // Centred; wrapped text taller than the label shows its beginning rather than losing both
    // ends.
    const double spare = rect.height() - textHeight(rect.width());
    double y = rect.minY() + (wraps_ ? std::max(0.0, spare / 2) : spare / 2);
    canvas.pushClip(rect);
    for (const auto& line : all) {
        if (!line.empty()) {
            const double width = lineWidth(line);
            double x = rect.minX();
            if (alignment_ == TextAlignment::Center) {
                x += (rect.width() - width) / 2;
            } else if (alignment_ == TextAlignment::Right) {
                x += rect.width() - width;
            }
            drawLine(canvas, line, {x, y});
        }
        y += lineStep;
    }
    canvas.popClip();
}

void Label::drawLine(Canvas& canvas, std::string_view line, Point origin) const {
    if (letterSpacing_ == 0 || wraps_) {
        canvas.drawText(line, font_, textColor_, origin);
        return;
    }
    // Character by character, each moved on by the spacing.
    std::size_t start = 0;
    for (const std::size_t end : graphemeEnds(line, line.size())) {
        const std::string_view character = line.substr(start, end - start);
        canvas.drawText(character, font_, textColor_, origin);
        origin.x += TextMeasurer::shared().measure(character, font_).width + letterSpacing_;
        start = end;
    }
}

std::string Label::accessibleName() const {
    return accessibilityLabel().empty() ? text_ : accessibilityLabel();
}

void Label::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("text", text_);
    // What the text needs at the label's width, so that a snapshot shows whether it fits.
    if (!text_.empty()) {
        const double width = frame().width();
        double widest = 0;
        std::string shown;
        for (const auto& line : lines(width)) {
            widest = std::max(widest, lineWidth(line));
            shown += (shown.empty() ? "" : "\n") + line;
        }
        node.setList("textSize", {widest, textHeight(width)});
        node.set("wraps", wraps_);
        // What shows when it is not the whole text (cut with "…").
        if (!wraps_ && shown != text_) {
            node.set("shownText", shown);
        }
    }
    // How the text looks, so that a snapshot shows whether two labels match.
    node.setFont("font", font_);
    node.set("alignment", std::string(alignment_ == TextAlignment::Left     ? "left"
                                      : alignment_ == TextAlignment::Center ? "center"
                                                                            : "right"));
    node.setColor("textColor", paintedColor(textColor_));
}

void Label::applyLayout(const LayoutNode& node) {
    if (node.has("text"))
        setText(node.words("text"));
    if (node.has("font"))
        setFont(node.font("font"));
    if (node.has("textColor"))
        setTextColor(node.color("textColor"));
    if (node.has("alignment")) {
        static const std::map<std::string, TextAlignment> kAlignments{
            {"left", TextAlignment::Left},
            {"center", TextAlignment::Center},
            {"right", TextAlignment::Right}};
        setTextAlignment(node.choice("alignment", kAlignments));
    }
    View::applyLayout(node);
}

} // namespace vestrino::ui
