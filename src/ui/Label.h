#pragma once

#include "ui/Style.h"
#include "ui/View.h"

#include <string>
#include <vector>

namespace vestrino::ui {

enum class TextAlignment { Left, Center, Right };

// Text vertically centred in the view: one line, or one line per line break in the text; a
// label that wraps also breaks lines between words to fit its width (a word wider than the
// label after its hyphens and slashes, or else between characters). A line of a label that
// does not wrap and is wider than the label ends in "…" where it stops fitting; only what can
// show is measured and painted.
class Label : public View {
public:
    using View::View;

    const std::string& text() const { return text_; }
    void setText(std::string text);
    const Font& font() const { return font_; }
    void setFont(Font font);
    Color textColor() const { return textColor_; }
    void setTextColor(Color color);
    TextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(TextAlignment alignment);

    bool wrapsText() const { return wraps_; }
    void setWrapsText(bool on);

    // Points added between the characters of a label that does not wrap (a masked card number
    // spread to line up with what follows it); 0, the default, is the font's own spacing.
    double letterSpacing() const { return letterSpacing_; }
    void setLetterSpacing(double points);
    // The width a line takes in this label's font and letter spacing.
    double lineWidth(std::string_view line) const;

    // The lines the text is drawn in at the given width, and the height they take in this
    // label's font.
    std::vector<std::string> lines(double width) const;
    double textHeight(double width) const;
    // The line as shown at `width` when the label does not wrap: whole, or cut with "…".
    std::string fittedLine(std::string_view line, double width) const;

    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "Label"; }
    // A label with nothing to read is left out.
    AccessibleRole defaultAccessibleRole() const override {
        return accessibleName().empty() ? AccessibleRole::None : AccessibleRole::Label;
    }
    std::string accessibleName() const override;
    std::optional<std::string> accessibleText() const override { return text_; }
    void describe(ViewDescription& node) const override;
    void applyLayout(const LayoutNode& node) override;

private:
    void drawLine(Canvas& canvas, std::string_view line, Point origin) const;

    std::string text_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = style::kInk;
    TextAlignment alignment_ = TextAlignment::Left;
    bool wraps_ = false;
    double letterSpacing_ = 0;
};

} // namespace vestrino::ui
