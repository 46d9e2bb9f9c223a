#include "ui/Switch.h"

#include "ui/Canvas.h"

namespace vestrino::ui {

namespace {

// A disc or a pill (a rectangle with round ends), drawn a row of device pixels at a time.
void fillPill(Canvas& canvas, const Rect& r, const Color& color) {
    canvas.fillRoundedRect(r, r.height() / 2, color);
}

} // namespace

Switch::Switch() : View(makeRect(0, 0, kSize.width, kSize.height)) {}

void Switch::setOn(bool on) {
    on_ = on;
    setNeedsDisplay();
}

void Switch::toggle() {
    setOn(!on_);
    // From a copy: an action may add or remove actions.
    const auto actions = actions_;
    for (const auto& action : actions) {
        action(*this);
    }
}

bool Switch::keyDown(KeyCommand key) {
    if (key != KeyCommand::Space && key != KeyCommand::Return) {
        return false;
    }
    toggle();
    return true;
}

void Switch::touchesBegan(const Touch&) {
    pressed_ = true;
    setNeedsDisplay();
}

void Switch::touchesCancelled(const Touch&) {
    pressed_ = false;
    setNeedsDisplay();
}

void Switch::touchesEnded(const Touch& touch) {
    pressed_ = false;
    if (bounds().contains(touch.locationInView(*this))) {
        toggle();
    }
    setNeedsDisplay();
}

void Switch::draw(Canvas& canvas, const Rect& rect) {
    View::draw(canvas, rect);
    const Rect track = makeRect(rect.minX(), rect.minY(), kSize.width, kSize.height);
    fillPill(canvas, track, on_ ? onColor_ : style::kSwitchOff);
    const double knob = kSize.height - 4;
    const double x = on_ ? track.maxX() - 2 - knob : track.minX() + 2;
    fillPill(canvas, makeRect(x, track.minY() + 2, knob, knob),
             pressed_ ? style::kSwitchKnobPressed : style::kSwitchKnob);
}

AccessibleStates Switch::accessibleStates() const {
    AccessibleStates s = View::accessibleStates();
    s.checkable = true;
    s.checked = on_;
    return s;
}

void Switch::describe(ViewDescription& node) const {
    View::describe(node);
    node.set("selected", on_);
}

} // namespace vestrino::ui
