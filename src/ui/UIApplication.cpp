#include "ui/UIApplication.h"

#include "core/RunLoop.h"
#include "ui/Animator.h"
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
                      std::ostream& err, WindowHost& host) {
    RunLoop::main().adoptCurrentThread();
    auto window = std::make_shared<Window>(options.size.layoutFrame());
    window->setAccessibilityLabel(options.title);
    window->setOnScreenKeyboard(options.headless ? !options.physicalKeyboard : options.touch);
    int code = 0;
    if (!host.prepare(options, err, code)) {
        return code;
    }
    delegate.applicationDidFinishLaunching(window);
    code = host.run(window, options, delegate, err);
    terminate(delegate, window);
    return code;
}

} // namespace vestrino::ui
