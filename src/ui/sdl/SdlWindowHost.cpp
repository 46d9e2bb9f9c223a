#include "ui/sdl/SdlWindowHost.h"

#include "ui/sdl/SdlHost.h"

#include <ostream>

namespace vestrino::ui {

int SdlWindowHost::run(const std::shared_ptr<Window>& window, const LaunchOptions& options,
                       UIApplicationDelegate&, std::ostream& err) {
    SdlHost host(window, options.scale, options.scaleAsked, options.title, options.icon,
                 options.size.zoom());
    std::string error;
    if (!host.run(error)) {
        err << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace vestrino::ui
