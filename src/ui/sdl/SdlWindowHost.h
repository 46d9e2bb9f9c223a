#pragma once

#include "ui/UIApplication.h"

namespace vestrino::ui {

// The window on a real screen through SDL (SdlHost), with the launch options' scale, size,
// title and icon, until it closes.
class SdlWindowHost : public WindowHost {
public:
    int run(const std::shared_ptr<Window>& window, const LaunchOptions& options,
            UIApplicationDelegate& delegate, std::ostream& err) override;
};

} // namespace vestrino::ui
