#pragma once

#include "core/Clock.h"
#include "ui/UIApplication.h"

#include <fstream>
#include <memory>

namespace vestrino::ui {

// The window run headless: the script of the launch options, on a virtual clock that starts
// before the delegate fills the window, its snapshots (the window's picture and view tree with
// what the delegate adds) in the options' out folder.
class HeadlessHost : public WindowHost {
public:
    // How long the launch's background work may take before the script starts (real seconds).
    static constexpr int kLaunchSettleSeconds = 30;
    bool prepare(const LaunchOptions& options, std::ostream& err, int& exitCode) override;
    int run(const std::shared_ptr<Window>& window, const LaunchOptions& options,
            UIApplicationDelegate& delegate, std::ostream& err) override;

private:
    std::ifstream script_;
    std::shared_ptr<VirtualClock> clock_;
};

} // namespace vestrino::ui
