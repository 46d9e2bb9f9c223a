#include "ui/headless/HeadlessHost.h"

#include "core/RunLoop.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"

#include <ostream>

namespace vestrino::ui {

bool HeadlessHost::prepare(const LaunchOptions& options, std::ostream& err, int& exitCode) {
    script_.open(options.script);
    if (!script_) {
        err << "cannot read the script \"" << options.script << "\"\n";
        exitCode = 2;
        return false;
    }
    clock_ = std::make_shared<VirtualClock>();
    RunLoop::main().setClock(clock_);
    return true;
}

int HeadlessHost::run(const std::shared_ptr<Window>& window, const LaunchOptions& options,
                      UIApplicationDelegate& delegate, std::ostream& err) {
    HeadlessScreen screen(window, options.scale * options.size.zoom());
    ScriptRunner::Hooks hooks;
    hooks.describe = [&delegate] { return delegate.describeForSnapshot(); };
    ScriptRunner runner(screen, clock_, options.out, hooks);
    std::string error;
    // The virtual clock starts once the launch's background fetches are in (the banners, at
    // most the banner operation's limits), so that a script sees the splash and the login at
    // the same moments whatever the service's speed.
    if (!runner.runLine("idle " + std::to_string(kLaunchSettleSeconds), error)) {
        err << options.script << ", the launch: " << error << '\n';
        return 1;
    }
    if (!runner.run(script_, error)) {
        err << options.script << ", " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace vestrino::ui
