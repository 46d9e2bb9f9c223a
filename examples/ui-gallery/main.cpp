// ui-gallery: the view layer's controls in a window, or headless with a script.
#include "Gallery.h"

#include "ui/LayoutLoader.h"
#include "ui/UIApplication.h"
#include "ui/headless/HeadlessHost.h"
#include "ui/sdl/SdlWindowHost.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"ui-gallery: the controls of Vestrino's view layer"};
    vestrino::ui::LaunchOptions options;
    options.title = "Vestrino UI gallery";
    options.out = "gallery-out";
    app.add_flag("--headless", options.headless, "No window: run a script on a virtual clock");
    app.add_option("--script", options.script, "The headless script");
    app.add_option("--out", options.out, "Where snapshots go");
    app.add_option("--scale", options.scale, "Pixels per point (HiDPI)")
        ->check(CLI::Range(1.0, 4.0));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    vestrino::ui::LayoutLoader::setLayoutFolder(VESTRINO_GALLERY_LAYOUTS);
    // The delegate fills the window UIApplicationMain makes.
    struct Launch : vestrino::ui::UIApplicationDelegate {
        std::unique_ptr<gallery::Gallery> gallery;
        void applicationDidFinishLaunching(
            const std::shared_ptr<vestrino::ui::Window>& window) override {
            gallery = std::make_unique<gallery::Gallery>(window);
        }
        nlohmann::ordered_json describeForSnapshot() override { return gallery->describe(); }
    } launch;
    vestrino::ui::HeadlessHost headless;
    vestrino::ui::SdlWindowHost window;
    return vestrino::ui::UIApplicationMain(
        options, launch, std::cerr,
        options.headless ? static_cast<vestrino::ui::WindowHost&>(headless) : window);
}
