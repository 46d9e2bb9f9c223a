#pragma once

#include "ui/View.h"

namespace vestrino::ui {

enum class TextAlignment { Left, Center, Right };

// One line of text, vertically centred in the view.
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

    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "Label"; }
    void describe(nlohmann::ordered_json& node) const override;

private:
    std::string text_;
    Font font_ = Font::systemFont(17);
    Color textColor_ = Color::black();
    TextAlignment alignment_ = TextAlignment::Left;
};

} // namespace vestrino::ui
