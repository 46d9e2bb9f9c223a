#include "ui/UIApplication.h"

#include "core/RunLoop.h"
#include "ui/Animator.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"

#include <fstream>
#include <ostream>

namespace vestrino::ui {

namespace {

// The one order of teardown: animations end where they are (nothing animates a view that is
// going), then the delegate lets go of its screens, then the window and what is left in it.
void terminate(UIApplicationDelegate& delegate, std::shared_ptr<Window>& window) {
    Animator::shared().reset();
    delegate.applicationWillTerminate();
    window.reset();
    Animator::shared().reset();
}

} // namespace

int UIApplicationMain(const LaunchOptions& options, UIApplicationDelegate& delegate,
                      std::ostream& err, const WindowHost& host) {
    RunLoop::main().adoptCurrentThread();
    auto window = std::make_shared<Window>(options.size.layoutFrame());
    window->setOnScreenKeyboard(options.headless ? !options.physicalKeyboard : options.touch);
    if (!options.headless) {
        delegate.applicationDidFinishLaunching(window);
        std::string error;
        const bool shown = host && host(window, options, error);
        terminate(delegate, window);
        if (!shown) {
            err << error << '\n';
            return 1;
        }
        return 0;
    }
    std::ifstream script(options.script);
    if (!script) {
        err << "cannot read the script \"" << options.script << "\"\n";
        return 2;
    }
    auto clock = std::make_shared<VirtualClock>();
    RunLoop::main().setClock(clock);
    delegate.applicationDidFinishLaunching(window);
    HeadlessScreen screen(window, options.scale * options.size.zoom());
    ScriptRunner::Hooks hooks;
    hooks.describe = [&delegate] { return delegate.describeForSnapshot(); };
    ScriptRunner runner(screen, clock, options.out, hooks);
    std::string error;
    const bool ran = runner.run(script, error);
    terminate(delegate, window);
    if (!ran) {
        err << options.script << ", " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace vestrino::ui
