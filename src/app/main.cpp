// vestrino: the Lumacard card holder's application, in a window or headless with a script.
#include "app/AppViewClasses.h"
#include "app/VestrinoAppDelegate.h"
#include "cli/ServiceSetup.h"
#include "core/BackgroundTask.h"
#include "ui/LayoutLoader.h"
#include "ui/UIApplication.h"
#include "ui/UIImage.h"
#include "ui/sdl/SdlHost.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"vestrino: your Lumacard cards, balances and transactions"};
    vestrino::ServiceSetup setup;
    vestrino::ui::LaunchOptions options;
    options.title = "Vestrino";
    app.add_option("--host", setup.host, "The service host, HOST[:PORT]");
    app.add_option("--cafile", setup.cafile, "Trust this CA file instead of the system's");
    app.add_option("--documents", setup.documents, "The documents folder (card files)");
    app.add_option("--reachability", setup.reachability,
                   "Fixed reachability flags instead of the kernel's (2: reachable)");
    app.add_option("--scale", options.scale, "Pixels per point (HiDPI)")
        ->check(CLI::Range(1.0, 4.0));
    app.add_flag("--headless", options.headless, "No window: run a script on a virtual clock");
    app.add_option("--script", options.script, "The headless script");
    app.add_option("--out", options.out, "Where headless snapshots go");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    std::string error;
    if (!setup.apply(error)) {
        std::cerr << "vestrino: " << error << '\n';
        return 2;
    }
    // The reachability monitor is started by the delegate's own launch sequence.
    auto delegate = vestrino::VestrinoAppDelegate::install();
    if (setup.documents) {
        delegate->setDocumentsDirectory(*setup.documents);
    }
    const char* resources = std::getenv("VESTRINO_RESOURCES");
    const std::filesystem::path folder = resources ? resources : VESTRINO_RESOURCES_DIR;
    vestrino::ui::UIImage::setResourceFolder(folder / "images");
    vestrino::ui::LayoutLoader::setLayoutFolder(folder / "layouts");
    vestrino::registerAppViewClasses();
    const int code =
        vestrino::ui::UIApplicationMain(options, *delegate, std::cerr, vestrino::ui::SdlHost::show);
    if (vestrino::BackgroundTask::running() > 0) {
        // The window closed while a worker still waits for the service: leave now, without
        // waiting for it and without running the destructors its thread may still be using.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(code);
    }
    return code;
}
