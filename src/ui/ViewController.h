#pragma once

#include "ui/LayoutLoader.h"
#include "ui/Responder.h"
#include "ui/View.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace vestrino::ui {

class NavigationController;

// A screen: its view, made on first use from the layout resource named after the screen (or a
// plain view), and the moments of its life on the navigation stack. It is a responder: keys
// that the views of the screen do not use come to it before they go on to the views around it.
class ViewController : public std::enable_shared_from_this<ViewController>, public Responder {
public:
    ~ViewController() override;

    // The view's superview (the screen is the next responder of its own view).
    Responder* nextResponder() const override;
    // The screen inside this one that is shown now (a navigation stack's top), if any: keys
    // nobody has the focus for go to the innermost.
    virtual ViewController* visibleChild() const { return nullptr; }

    // The view, loaded (loadView, then viewDidLoad) on first access.
    std::shared_ptr<View> view();
    bool isViewLoaded() const { return view_ != nullptr; }
    // Drops the view (memory pressure); viewDidUnload follows.
    void unloadView();

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    // The screen is in the window and has come to rest (after its slide, when animated).
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidUnload() {}
    // The view has a new size and its subviews have followed their autoresizing masks (a screen
    // taller than the layout): what a mask cannot say (a scroll view's content size) is set here.
    virtual void viewDidLayoutSubviews() {}

    // The layout resource's name; the class name of the screen.
    virtual std::string layoutName() const { return ""; }
    virtual std::string className() const { return "ViewController"; }
    // The actions a layout may bind by name.
    virtual LayoutLoader::Actions layoutActions() { return {}; }
    // The outlets the layout filled, by name.
    std::shared_ptr<View> outlet(const std::string& name) const;
    // Lays the loaded view out as the layout's variant says (LayoutLoader::applyVariant); a
    // variant the layout lacks is a broken build, and throws naming it.
    void applyLayoutVariant(const std::string& variant);
    // Binds the screen's members to its layout's outlets: called once the view is loaded,
    // before viewDidLoad, so that the screen never looks a control up by name again.
    virtual void bindOutlets() {}

    NavigationController* navigationController() const { return navigationController_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t); }

protected:
    // For loadView overrides that build their view in code.
    void setView(std::shared_ptr<View> view);
    // Sets `member` to the outlet `name`; a missing outlet or one of another class is a broken
    // build, and throws naming the layout and the outlet.
    template <typename T> void bindOutlet(std::shared_ptr<T>& member, const std::string& name) {
        member = std::dynamic_pointer_cast<T>(outlet(name));
        if (!member) {
            throw std::runtime_error("the layout " + layoutName() + " has no outlet \"" + name +
                                     "\" of the class its screen expects");
        }
    }

private:
    friend class NavigationController;
    std::shared_ptr<View> view_;
    LayoutLoader::Outlets outlets_;
    NavigationController* navigationController_ = nullptr;
    std::string title_;
};

} // namespace vestrino::ui
