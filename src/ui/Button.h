#pragma once

#include "ui/Label.h"
#include "ui/Style.h"
#include "ui/UIImage.h"
#include "ui/View.h"

#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace vestrino::ui {

enum class ControlState { Normal, Highlighted, Selected };

// A custom button: a background picture, a picture and a title for each state (normal,
// highlighted while the finger is on it, selected), falling back to the normal ones. The
// action runs when a touch that began on it ends on it, or at Space or Return while it has the
// focus. Pictures are never dimmed. A title of several lines (line breaks in it) is centred
// line by line.
class Button : public View {
public:
    using Action = std::function<void(Button&)>;
    using View::View;

    void setImage(UIImagePtr image, ControlState state);
    void setBackgroundImage(UIImagePtr image, ControlState state);
    void setTitle(std::string title, ControlState state);
    void setTitleColor(Color color, ControlState state);
    void setTitleFont(Font font) {
        font_ = std::move(font);
        setNeedsDisplay();
    }
    const Font& titleFont() const { return font_; }
    void addTarget(Action action) { actions_.push_back(std::move(action)); }

    bool selected() const { return selected_; }
    void setSelected(bool on);
    bool highlighted() const { return highlighted_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) {
        enabled_ = on;
        setNeedsDisplay();
    }

    // The background picture set for exactly that state (no fallback), if any.
    UIImagePtr backgroundImage(ControlState state) const;
    // What the current state shows.
    UIImagePtr currentImage() const;
    UIImagePtr currentBackgroundImage() const;
    std::string currentTitle() const;

    // Runs the actions as a touch up inside would.
    void sendActions();

    bool canBecomeFocused() const override { return enabled_ && isFocusable(); }
    bool keyDown(KeyCommand key) override;
    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void touchesCancelled(const Touch& touch) override;
    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "Button"; }
    AccessibleRole defaultAccessibleRole() const override { return AccessibleRole::PushButton; }
    std::string accessibleName() const override;
    AccessibleStates accessibleStates() const override;
    std::vector<std::string> accessibleActions() const override { return {"press"}; }
    bool doAccessibleAction(std::string_view action) override;
    void describe(ViewDescription& node) const override;
    void applyLayout(const LayoutNode& node) override;

protected:
    bool focusableByDefault() const override { return true; }

private:
    ControlState state() const;
    static std::vector<std::string_view> titleLines(std::string_view title);
    Size titleSize(std::string_view title) const;
    template <typename T> T forState(const std::map<ControlState, T>& values) const;

    std::map<ControlState, UIImagePtr> images_, backgrounds_;
    std::map<ControlState, std::string> titles_;
    // A title with no colour of its own is written in ink.
    std::map<ControlState, Color> titleColors_{{ControlState::Normal, style::kInk}};
    Font font_ = Font::boldSystemFont(15);
    std::vector<Action> actions_;
    bool selected_ = false;
    bool highlighted_ = false;
    bool enabled_ = true;
    bool tracking_ = false;
};

} // namespace vestrino::ui
