#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/Window.h"

#include <memory>

namespace gallery {

// The view layer's test bed: a paging carousel of eight pictures with a page label, state
// buttons, a fade and an animated move, in one window.
class Gallery : public vestrino::ui::ScrollViewDelegate {
public:
    Gallery();

    const std::shared_ptr<vestrino::ui::Window>& window() const { return window_; }
    int currentPage() const;

    void scrollViewDidScroll(vestrino::ui::ScrollView& scroll) override;
    void scrollViewDidEndDecelerating(vestrino::ui::ScrollView& scroll) override;
    void scrollViewDidEndScrollingAnimation(vestrino::ui::ScrollView& scroll) override;

private:
    std::shared_ptr<vestrino::ui::Button> button(const char* title, double x, int tag);
    void setStatus(const std::string& text);

    std::shared_ptr<vestrino::ui::Window> window_;
    std::shared_ptr<vestrino::ui::ScrollView> carousel_;
    std::shared_ptr<vestrino::ui::Label> pageLabel_;
    std::shared_ptr<vestrino::ui::Label> status_;
    bool faded_ = false;
};

} // namespace gallery
