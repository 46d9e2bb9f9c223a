#pragma once

#include "ui/ImageView.h"
#include "ui/View.h"

namespace vestrino {

// What the window shows from its first frame while the launch's banner is on its way: the
// application's header on its background, as a phone shows a launch screen. It takes no input;
// a close or a quit is answered at once.
class LaunchScreenView : public ui::View {
public:
    explicit LaunchScreenView(const ui::Rect& frame);
    std::string className() const override { return "LaunchScreenView"; }
};

} // namespace vestrino
