#pragma once

#include "core/Timer.h"
#include "ui/Palette.h"
#include "ui/View.h"

namespace vestrino::ui {

// The spinning wheel: twelve spokes, one brighter step every 1/12 s; white by default (over a
// dark backdrop), or the colour set (over a light one).
class ActivityIndicatorView : public View {
public:
    ActivityIndicatorView();
    ~ActivityIndicatorView() override;

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return timer_ != nullptr; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool on) { hidesWhenStopped_ = on; }
    Color color() const { return color_; }
    void setColor(Color color) {
        color_ = color;
        setNeedsDisplay();
    }

    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "ActivityIndicatorView"; }
    void describe(ViewDescription& node) const override;

private:
    std::shared_ptr<Timer> timer_;
    int step_ = 0;
    bool hidesWhenStopped_ = true;
    Color color_ = palette::role(ColorRole::OnAccent);
};

} // namespace vestrino::ui
