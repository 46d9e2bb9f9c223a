#pragma once

#include "ui/Style.h"
#include "ui/View.h"

#include <functional>
#include <vector>

namespace vestrino::ui {

// An on/off switch (51 × 31 points): a rounded track, filled with the accent colour when on,
// and a round knob at the end that is on. A touch that ends inside it, or Space or Return while
// it has the focus, flips it and runs its actions; setting it by code runs none.
class Switch : public View {
public:
    using Action = std::function<void(Switch&)>;
    static constexpr Size kSize{51, 31};

    Switch();

    bool isOn() const { return on_; }
    void setOn(bool on);
    void addTarget(Action action) { actions_.push_back(std::move(action)); }
    void setOnColor(Color color) {
        onColor_ = color;
        setNeedsDisplay();
    }

    bool keyDown(KeyCommand key) override;
    void touchesBegan(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "Switch"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::Switch; }
    AccessibleStates accessibleStates() const override;
    std::vector<std::string> accessibleActions() const override { return {"toggle"}; }
    bool doAccessibleAction(std::string_view action) override {
        if (action != "toggle" || !userInteractionEnabled()) {
            return false;
        }
        toggle();
        return true;
    }
    void describe(ViewDescription& node) const override;

protected:
    bool focusableByDefault() const override { return true; }

private:
    void toggle();
    bool on_ = false;
    bool pressed_ = false;
    Color onColor_ = style::kSwitchOn;
    std::vector<Action> actions_;
};

} // namespace vestrino::ui
