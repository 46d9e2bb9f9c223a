#pragma once

#include "core/Timer.h"
#include "ui/View.h"

namespace vestrino::ui {

// The spinning wheel, large and white: twelve spokes, one brighter step every 1/12 s.
class ActivityIndicatorView : public View {
public:
    ActivityIndicatorView();
    ~ActivityIndicatorView() override;

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return timer_ != nullptr; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool on) { hidesWhenStopped_ = on; }

    void draw(Canvas& canvas, const Rect& rect) override;
    std::string className() const override { return "ActivityIndicatorView"; }
    void describe(ViewDescription& node) const override;

private:
    std::shared_ptr<Timer> timer_;
    int step_ = 0;
    bool hidesWhenStopped_ = true;
};

} // namespace vestrino::ui
