#include "ui/NavigationController.h"
#include "ui/Style.h"

#include "ui/Animator.h"

#include <algorithm>

namespace vestrino::ui {

NavigationController::NavigationController(std::shared_ptr<ViewController> root) {
    if (root) {
        root->navigationController_ = this;
        stack_.push_back(std::move(root));
    }
}

Rect NavigationController::contentFrame() const {
    const Rect all = makeRect(0, 0, 320, content_ ? content_->frame().height() : 480);
    if (translucent_) {
        return all;
    }
    const double bottom = toolbar_ && !toolbar_->hidden() ? kBarHeight : 0;
    return makeRect(0, kBarHeight, all.width(), all.height() - kBarHeight - bottom);
}

void NavigationController::loadView() {
    // Laid out for 320 × 480; on a taller screen the window sizes the container, the content
    // and the screen shown grow, and the toolbar stays at the bottom.
    constexpr unsigned kFlexibleSize = kFlexibleWidth | kFlexibleHeight;
    auto container = std::make_shared<View>(makeRect(0, 0, 320, 480));
    container->setAutoresizingMask(kFlexibleSize);
    content_ = std::make_shared<View>(makeRect(0, 0, 320, 480));
    content_->setAutoresizingMask(kFlexibleSize);
    content_->setClipsToBounds(true);
    container->addSubview(content_);
    navigationBar_ = std::make_shared<View>(makeRect(0, 0, 320, kBarHeight));
    navigationBar_->setAutoresizingMask(kFlexibleWidth);
    navigationBar_->setBackgroundColor(style::kBars);
    navigationBar_->setName("navigationBar");
    toolbar_ = std::make_shared<View>(makeRect(0, 480 - kBarHeight, 320, kBarHeight));
    toolbar_->setAutoresizingMask(kFlexibleWidth | kFlexibleTopMargin);
    toolbar_->setBackgroundColor(style::kBars);
    toolbar_->setName("toolbar");
    container->addSubview(navigationBar_);
    container->addSubview(toolbar_);
    setView(container);
    if (auto top = topViewController()) {
        auto v = top->view(); // loaded (viewDidLoad) before it appears
        top->viewWillAppear(false);
        v->setFrame(contentFrame());
        content_->addSubview(v);
    }
}

std::shared_ptr<ViewController> NavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

void NavigationController::setNavigationBar(std::shared_ptr<View> bar) {
    view(); // the bars exist once the view does
    bar->setFrame(navigationBar_->frame());
    bar->setAutoresizingMask(navigationBar_->autoresizingMask());
    View* parent = navigationBar_->superview();
    navigationBar_->removeFromSuperview();
    navigationBar_ = std::move(bar);
    parent->addSubview(navigationBar_);
}

void NavigationController::setToolbar(std::shared_ptr<View> bar) {
    view();
    bar->setFrame(toolbar_->frame());
    bar->setAutoresizingMask(toolbar_->autoresizingMask());
    bar->setHidden(toolbar_->hidden());
    View* parent = toolbar_->superview();
    toolbar_->removeFromSuperview();
    toolbar_ = std::move(bar);
    parent->addSubview(toolbar_);
}

void NavigationController::setToolbarHidden(bool hidden) {
    view();
    toolbar_->setHidden(hidden);
    if (auto top = topViewController(); top && top->isViewLoaded()) {
        top->view()->setFrame(contentFrame());
    }
}

void NavigationController::setTranslucent(bool on) {
    translucent_ = on;
    if (auto top = topViewController(); top && top->isViewLoaded()) {
        top->view()->setFrame(contentFrame());
    }
}

void NavigationController::show(const std::shared_ptr<ViewController>& incoming,
                                const std::shared_ptr<ViewController>& outgoing, bool forward,
                                bool animated) {
    view();
    if (outgoing) {
        outgoing->viewWillDisappear(animated);
    }
    auto in = incoming->view(); // loaded (viewDidLoad) before it appears
    incoming->viewWillAppear(animated);
    const Rect frame = contentFrame();
    content_->addSubview(in);
    if (!animated || !outgoing) {
        in->setFrame(frame);
        if (outgoing && outgoing->isViewLoaded()) {
            outgoing->view()->removeFromSuperview();
        }
        incoming->viewDidAppear(false);
        return;
    }
    // The incoming screen slides in from the side the outgoing one leaves by.
    const double shift = forward ? frame.width() : -frame.width();
    in->setFrame(frame.offsetBy({shift, 0}));
    auto out = outgoing->view();
    Animator::shared().animate(
        {.duration = kSlide, .name = forward ? "push" : "pop"},
        [&] {
            in->setFrame(frame);
            out->setFrame(frame.offsetBy({-shift, 0}));
        },
        [this, outgoing, frame, weakIncoming = std::weak_ptr<ViewController>(incoming)](bool) {
            // Unless it is on top again meanwhile, the outgoing screen leaves the hierarchy.
            if (topViewController() != outgoing && outgoing->isViewLoaded()) {
                outgoing->view()->removeFromSuperview();
                outgoing->view()->setFrame(frame);
            }
            if (auto in = weakIncoming.lock(); in && topViewController() == in) {
                in->viewDidAppear(true);
            }
        });
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller,
                                              bool animated) {
    if (!controller) {
        return;
    }
    auto outgoing = topViewController();
    controller->navigationController_ = this;
    stack_.push_back(controller);
    show(controller, outgoing, true, animated);
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return nullptr;
    }
    auto outgoing = stack_.back();
    stack_.pop_back();
    show(stack_.back(), outgoing, false, animated);
    outgoing->navigationController_ = nullptr;
    return outgoing;
}

void NavigationController::popToRootViewControllerAnimated(bool animated) {
    if (!stack_.empty()) {
        popToViewController(stack_.front(), animated);
    }
}

bool NavigationController::popToViewController(const std::shared_ptr<ViewController>& target,
                                               bool animated) {
    const auto found = std::find(stack_.begin(), stack_.end(), target);
    if (found == stack_.end()) {
        return false;
    }
    const auto keep = static_cast<std::size_t>(found - stack_.begin()) + 1;
    if (keep == stack_.size()) {
        return true;
    }
    auto outgoing = stack_.back();
    for (std::size_t i = keep; i < stack_.size(); ++i) {
        stack_[i]->navigationController_ = nullptr;
        if (stack_[i] != outgoing && stack_[i]->isViewLoaded()) {
            stack_[i]->view()->removeFromSuperview();
        }
    }
    stack_.resize(keep);
    show(stack_.back(), outgoing, false, animated);
    return true;
}

} // namespace vestrino::ui
