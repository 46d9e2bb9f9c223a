#include "ui/ViewController.h"

#include <stdexcept>

namespace vestrino::ui {

std::shared_ptr<View> ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) {
            view_ = std::make_shared<View>(makeRect(0, 0, 320, 480));
        }
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
    view_.reset();
    outlets_.clear();
    viewDidUnload();
}

std::shared_ptr<View> ViewController::outlet(const std::string& name) const {
    const auto it = outlets_.find(name);
    return it == outlets_.end() ? nullptr : it->second;
}

} // namespace vestrino::ui
