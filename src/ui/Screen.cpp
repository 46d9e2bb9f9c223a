#include "ui/Screen.h"

#include "core/RunLoop.h"
#include "ui/Animator.h"
#include "ui/ScrollView.h"

namespace vestrino::ui {

Screen::Screen(std::shared_ptr<Window> window) : window_(std::move(window)) {}

bool Screen::tick(TimePoint now, Canvas* canvas) {
    RunLoop::main().runOnce();
    const bool animating = Animator::shared().tick(now);
    const bool scrolling = ScrollView::tickAll(now);
    if (canvas && window_->needsDisplay()) {
        window_->paint(*canvas);
        ++painted_;
    }
    return animating || scrolling || Animator::shared().animating();
}

} // namespace vestrino::ui
