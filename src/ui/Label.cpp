#include "ui/Label.h"

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

void Label::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    if (text_.empty()) {
        return;
    }
    const Size size = TextMeasurer::shared().measure(text_, font_);
    double x = rect.minX();
    if (alignment_ == TextAlignment::Center) {
        x += (rect.width() - size.width) / 2;
    } else if (alignment_ == TextAlignment::Right) {
        x += rect.width() - size.width;
    }
    canvas.pushClip(rect);
    canvas.drawText(text_, font_, textColor_, {x, rect.minY() + (rect.height() - size.height) / 2});
    canvas.popClip();
}

void Label::describe(nlohmann::ordered_json& node) const {
    View::describe(node);
    node["text"] = text_;
}

} // namespace vestrino::ui
