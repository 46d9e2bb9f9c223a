#include "ui/ViewController.h"

#include <stdexcept>

namespace vestrino::ui {

ViewController::~ViewController() {
    if (view_ && view_->viewController() == this) {
        view_->setViewController(nullptr);
    }
}

Responder* ViewController::nextResponder() const {
    return view_ ? view_->superview() : nullptr;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (view_ && view_->viewController() == this) {
        view_->setViewController(nullptr);
    }
    view_ = std::move(view);
    if (view_) {
        view_->setViewController(this);
    }
}

std::shared_ptr<View> ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) {
            setView(std::make_shared<View>(makeRect(0, 0, 320, 480)));
        }
        view_->setViewController(this);
        bindOutlets();
        viewDidLoad();
    }
    return view_;
}

void ViewController::loadView() {
    const std::string name = layoutName();
    if (name.empty()) {
        view_ = std::make_shared<View>(makeRect(0, 0, 320, 480));
        return;
    }
    std::string error;
    view_ = LayoutLoader::load(name, outlets_, layoutActions(), error);
    if (!view_) {
        // A screen without its layout is a broken build, not a state to run in.
        throw std::runtime_error(error);
    }
}

void ViewController::unloadView() {
    if (!view_) {
        return;
    }
    view_->removeFromSuperview();
    setView(nullptr);
    outlets_.clear();
    viewDidUnload();
}

void ViewController::applyLayoutVariant(const std::string& variant) {
    std::string error;
    if (!LayoutLoader::applyVariant(layoutName(), variant, outlets_, error)) {
        throw std::runtime_error(error);
    }
}

std::shared_ptr<View> ViewController::outlet(const std::string& name) const {
    const auto it = outlets_.find(name);
    return it == outlets_.end() ? nullptr : it->second;
}

} // namespace vestrino::ui
