#pragma once

#include "ui/ViewController.h"

#include <vector>

namespace vestrino::ui {

// A stack of screens under a navigation bar and above a toolbar. A push slides the new screen
// in from the right, a pop slides it out (0.35 s when animated). The bars are views of their
// own that an application may replace to draw them its way; translucent bars let the screens
// run under them.
class NavigationController : public ViewController {
public:
    static constexpr double kBarHeight = 44;
    static constexpr double kSlide = 0.35;

    explicit NavigationController(std::shared_ptr<ViewController> root);

    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
    void popToRootViewControllerAnimated(bool animated);
    // Pops every screen above `target` (the one shown slides out); false when it is not on the
    // stack.
    bool popToViewController(const std::shared_ptr<ViewController>& target, bool animated);

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
    std::shared_ptr<ViewController> topViewController() const;
    std::shared_ptr<ViewController> visibleViewController() const { return topViewController(); }
    ViewController* visibleChild() const override { return topViewController().get(); }

    const std::shared_ptr<View>& navigationBar() const { return navigationBar_; }
    void setNavigationBar(std::shared_ptr<View> bar);
    const std::shared_ptr<View>& toolbar() const { return toolbar_; }
    void setToolbar(std::shared_ptr<View> bar);
    bool toolbarHidden() const { return toolbar_->hidden(); }
    void setToolbarHidden(bool hidden);
    bool translucent() const { return translucent_; }
    void setTranslucent(bool on);

    void loadView() override;
    std::string className() const override { return "NavigationController"; }

    // The frame a screen's view gets between the bars.
    Rect contentFrame() const;

private:
    void show(const std::shared_ptr<ViewController>& incoming,
              const std::shared_ptr<ViewController>& outgoing, bool forward, bool animated);

    std::vector<std::shared_ptr<ViewController>> stack_;
    std::shared_ptr<View> content_;
    std::shared_ptr<View> navigationBar_;
    std::shared_ptr<View> toolbar_;
    bool translucent_ = false;
};

} // namespace vestrino::ui
