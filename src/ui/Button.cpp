#include "ui/Button.h"
#include "ui/LayoutNode.h"

#include "ui/ImageView.h"

namespace vestrino::ui {

ControlState Button::state() const {
    if (highlighted_) {
        return ControlState::Highlighted;
    }
    return selected_ ? ControlState::Selected : ControlState::Normal;
}

template <typename T> T Button::forState(const std::map<ControlState, T>& values) const {
    if (const auto it = values.find(state()); it != values.end()) {
        return it->second;
    }
    // A highlighted selected button shows its selected look when it has no highlighted one.
    if (highlighted_ && selected_) {
        if (const auto it = values.find(ControlState::Selected); it != values.end()) {
            return it->second;
        }
    }
    const auto it = values.find(ControlState::Normal);
    return it != values.end() ? it->second : T{};
}

void Button::setImage(UIImagePtr image, ControlState state) {
    images_[state] = std::move(image);
    setNeedsDisplay();
}

void Button::setBackgroundImage(UIImagePtr image, ControlState state) {
    backgrounds_[state] = std::move(image);
    setNeedsDisplay();
}

void Button::setTitle(std::string title, ControlState state) {
    titles_[state] = std::move(title);
    setNeedsDisplay();
}

void Button::setTitleColor(Color color, ControlState state) {
    titleColors_[state] = color;
    setNeedsDisplay();
}

void Button::setSelected(bool on) {
    selected_ = on;
    setNeedsDisplay();
}

UIImagePtr Button::backgroundImage(ControlState state) const {
    const auto it = backgrounds_.find(state);
    return it != backgrounds_.end() ? it->second : nullptr;
}

UIImagePtr Button::currentImage() const {
    return forState(images_);
}

UIImagePtr Button::currentBackgroundImage() const {
    return forState(backgrounds_);
}

std::string Button::currentTitle() const {
    return forState(titles_);
}

void Button::sendActions() {
    // From a copy: an action may change the button's targets.
    const auto actions = actions_;
    for (const auto& a : actions) {
        a(*this);
    }
}

bool Button::keyDown(KeyCommand key) {
    if ((key != KeyCommand::Space && key != KeyCommand::Return) || !enabled_) {
        return false;
    }
    sendActions(); // what a touch up inside does
    return true;
}

void Button::touchesBegan(const Touch&) {
    if (!enabled_) {
        return;
    }
    tracking_ = true;
    highlighted_ = true;
    setNeedsDisplay();
}

void Button::touchesMoved(const Touch& touch) {
    if (!tracking_) {
        return;
    }
    // The highlight follows the finger, with some room around the button.
    const Point p = touch.locationInView(*this);
    const Rect b = bounds();
    const bool inside =
        Rect{{b.minX() - 70, b.minY() - 70}, {b.width() + 140, b.height() + 140}}.contains(p);
    if (inside != highlighted_) {
        highlighted_ = inside;
        setNeedsDisplay();
    }
}

void Button::touchesEnded(const Touch& touch) {
    if (!tracking_) {
        return;
    }
    touchesMoved(touch);
    const bool inside = highlighted_;
    tracking_ = false;
    highlighted_ = false;
    setNeedsDisplay();
    if (inside) {
        sendActions();
    }
}

void Button::touchesCancelled(const Touch&) {
    tracking_ = false;
    highlighted_ = false;
    setNeedsDisplay();
}

void Button::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    if (const auto bg = currentBackgroundImage()) {
        canvas.drawImageStretched(*bg, rect);
    }
    if (const auto image = currentImage()) {
        canvas.drawImage(*image, {{0, 0}, image->size()},
                         ImageView::placement(image->size(), rect, ContentMode::Center));
    }
    const std::string title = currentTitle();
    if (!title.empty()) {
        // Each line of the title centred, the lines together centred in the button.
        const auto lines = titleLines(title);
        const Size block = titleSize(title);
        const double lineStep = TextMeasurer::shared().lineHeight(font_);
        double y = rect.minY() + (rect.height() - block.height) / 2;
        canvas.pushClip(rect);
        for (const auto line : lines) {
            const double width = TextMeasurer::shared().measure(line, font_).width;
            canvas.drawText(line, font_, forState(titleColors_),
                            {rect.minX() + (rect.width() - width) / 2, y});
            y += lineStep;
        }
        canvas.popClip();
    }
}

std::vector<std::string_view> Button::titleLines(std::string_view title) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(title.find('\n', start), title.size());
        lines.push_back(title.substr(start, end - start));
        if (end == title.size()) {
            return lines;
        }
        start = end + 1;
    }
}

Size Button::titleSize(std::string_view title) const {
    TextMeasurer& m = TextMeasurer::shared();
    const auto lines = titleLines(title);
    double widest = 0;
    for (const auto line : lines) {
        widest = std::max(widest, m.measure(line, font_).width);
    }
    const double first = m.measure("M", font_).height;
    return {widest, first + m.lineHeight(font_) * static_cast<double>(lines.size() - 1)};
}

std::string Button::accessibleName() const {
    if (!accessibilityLabel().empty()) {
        return accessibilityLabel();
    }
    // A title set on two lines is one name.
    std::string name = currentTitle();
    std::replace(name.begin(), name.end(), '\n', ' ');
    return name;
}

bool Button::doAccessibleAction(std::string_view action) {
    if (action != "press" || !enabled_ || !userInteractionEnabled()) {
        return false;
    }
    sendActions();
    return true;
}

AccessibleStates Button::accessibleStates() const {
    AccessibleStates s = View::accessibleStates();
    s.enabled = s.enabled && enabled_;
    s.focusable = canBecomeFocused();
    if (accessibleRole() == AccessibleRole::ToggleButton) {
        s.checkable = true;
        s.checked = selected_;
    } else {
        s.selected = selected_;
    }
    return s;
}

void Button::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("title", currentTitle());
    node.setColor("titleColor", paintedColor(forState(titleColors_)));
    node.setFont("font", font_);
    if (!currentTitle().empty()) {
        const Size s = titleSize(currentTitle());
        node.setList("titleSize", {s.width, s.height});
    }
    const auto image = currentImage() ? currentImage() : currentBackgroundImage();
    node.set("image", image ? ViewDescription::Value(image->name()) : nullptr);
    node.set("selected", selected_);
    node.set("highlighted", highlighted_);
}

void Button::applyLayout(const LayoutNode& node) {
    if (node.has("title"))
        setTitle(node.words("title"), ControlState::Normal);
    if (node.has("titleColor"))
        setTitleColor(node.color("titleColor"), ControlState::Normal);
    if (node.has("selectedTitleColor"))
        setTitleColor(node.color("selectedTitleColor"), ControlState::Selected);
    if (node.has("font"))
        setTitleFont(node.font("font"));
    if (node.has("image"))
        setImage(node.image("image"), ControlState::Normal);
    if (node.has("selectedImage"))
        setImage(node.image("selectedImage"), ControlState::Selected);
    if (node.has("highlightedImage"))
        setImage(node.image("highlightedImage"), ControlState::Highlighted);
    if (node.has("backgroundImage"))
        setBackgroundImage(node.image("backgroundImage"), ControlState::Normal);
    if (node.has("action"))
        addTarget(node.action("action"));
    View::applyLayout(node);
}

} // namespace vestrino::ui
