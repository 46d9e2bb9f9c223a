// ui-gallery: the view layer's controls in a window, or headless with a script.
#include "Gallery.h"
#include "ui/LayoutLoader.h"

#include "core/RunLoop.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"
#include "ui/sdl/SdlHost.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"ui-gallery: the controls of Vestrino's view layer"};
    bool headless = false;
    std::string script, out = "gallery-out";
    double scale = 1;
    app.add_flag("--headless", headless, "No window: run a script on a virtual clock");
    app.add_option("--script", script, "The headless script");
    app.add_option("--out", out, "Where snapshots go");
    app.add_option("--scale", scale, "Pixels per point (HiDPI)")->check(CLI::Range(1.0, 4.0));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    vestrino::RunLoop::main().adoptCurrentThread();
    // Layouts next to the program's sources, unless told otherwise.
    vestrino::ui::LayoutLoader::setLayoutFolder(VESTRINO_GALLERY_LAYOUTS);
    if (headless) {
        auto clock = std::make_shared<vestrino::VirtualClock>();
        vestrino::RunLoop::main().setClock(clock);
        gallery::Gallery g;
        vestrino::ui::HeadlessScreen screen(g.window(), scale);
        vestrino::ui::ScriptRunner::Hooks hooks;
        hooks.describe = [&g] { return g.describe(); };
        hooks.type = [&g](const std::string& t) { g.window()->insertText(t); };
        hooks.key = [&g](const std::string& k) {
            if (k == "backspace") {
                g.window()->deleteBackward();
            } else if (k == "return") {
                g.window()->returnKey();
            }
        };
        vestrino::ui::ScriptRunner runner(screen, clock, out, hooks);
        std::ifstream in(script);
        if (!in) {
            std::cerr << "ui-gallery: cannot open the script \"" << script << "\"\n";
            return 2;
        }
        std::string error;
        if (!runner.run(in, error)) {
            std::cerr << "ui-gallery: " << script << ", " << error << '\n';
            return 1;
        }
        return 0;
    }
    gallery::Gallery g;
    vestrino::ui::SdlHost host(g.window(), scale, "Vestrino UI gallery");
    std::string error;
    if (!host.run(error)) {
        std::cerr << "ui-gallery: " << error << '\n';
        return 1;
    }
    return 0;
}
