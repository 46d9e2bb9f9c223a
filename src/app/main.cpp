// vestrino: the Lumacard card holder's application, in a window or headless with a script.
#include "app/application/AppResources.h"
#include "app/application/AppViewClasses.h"
#include "app/application/LinkOpener.h"
#include "app/application/VestrinoAppDelegate.h"
#include "app/cashmachines/Capoluoghi.h"
#include "core/Application.h"
#include "core/BackgroundTask.h"
#include "core/BuildVersion.h"
#include "core/CancelToken.h"
#include "core/Log.h"
#include "core/ResourceLocator.h"
#include "core/Translation.h"
#include "service/ServiceSetup.h"
#include "store/WriteGate.h"
#include "ui/LayoutLoader.h"
#include "ui/UIApplication.h"
#include "ui/UIImage.h"
#include "ui/headless/HeadlessHost.h"
#include "ui/sdl/PictureCodec.h"
#include "ui/sdl/SdlWindowHost.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv) {
    // With no session bus, the libraries below us (SDL's input-method and screen-saver code)
    // would have one started for them, and that daemon would outlive the program: say there
    // is none. Done first, before any thread reads the environment.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    // The Wayland app id is the desktop file's name: the shell shows its icon and name.
    ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", "it.vestrino.Vestrino", 0);
    CLI::App app{"vestrino: your Lumacard cards, balances and transactions"};
    vestrino::ServiceSetup setup;
    app.set_version_flag("--version", vestrino::versionLine("vestrino"));
    vestrino::ui::LaunchOptions options;
    options.title = "Vestrino";
    app.add_option("--host", setup.host, "The service host, HOST[:PORT]");
    app.add_option("--cafile", setup.cafile, "Trust this CA file instead of the system's");
    app.add_option("--documents", setup.documents, "The documents folder (card files)");
    app.add_option("--reachability", setup.reachability,
                   "Fixed reachability flags instead of the kernel's (2: reachable)");
    auto* scaleOption = app.add_option("--scale", options.scale,
                                       "Pixels per point (HiDPI; lowered to what fits the screen)")
                            ->check(CLI::Range(1.0, 4.0));
    std::string sizeText;
    app.add_option("--size", sizeText,
                   "The phone screen in points, WIDTHxHEIGHT (320x480 unless given; 360x720 "
                   "shows the screens 1.125 times larger and 640 points tall)");
    app.add_flag("--touch", options.touch,
                 "A touch screen: typing happens on an on-screen keyboard, the screens make room");
    app.add_flag("--headless", options.headless, "No window: run a script on a virtual clock");
    app.add_flag("--physical-keyboard", options.physicalKeyboard,
                 "Headless: model a desktop with its own keyboard (no on-screen keyboard)");
    app.add_option("--script", options.script, "The headless script");
    app.add_option("--out", options.out, "Where headless snapshots go");
    std::string lang;
    app.add_option("--lang", lang,
                   "The language of the texts, it or en (else the environment's: LANGUAGE, "
                   "LC_ALL, LC_MESSAGES, LANG)")
        ->check(CLI::IsMember({"it", "en"}));
    std::string theme;
    app.add_option("--theme", theme,
                   "The look for this run: system (the desktop's colour scheme), light or dark "
                   "(else what the information screen keeps)")
        ->check(CLI::IsMember({"system", "light", "dark"}));
    double lockAfter = 0;
    auto* lockOption =
        app.add_option("--lock-after", lockAfter,
                       "Lock the session after this many seconds without input, whatever the "
                       "information screen says (for trying the lock out)")
            ->check(CLI::Range(1.0, 86400.0));
    bool verbose = false;
    app.add_flag("--verbose", verbose,
                 "Also print what the service's replies said on their way to a failure (as "
                 "VESTRINO_DEBUG=1 does)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    if (verbose) {
        vestrino::Log::setDebug(true);
    }
    options.scaleAsked = scaleOption->count() > 0;
    // The language first: every text made from here on is in it.
    vestrino::Translation::useForProgram(lang, "vestrino", std::cerr);
    if (!sizeText.empty()) {
        std::string why;
        const auto size = vestrino::ui::ScreenSize::parse(sizeText, why);
        if (!size) {
            std::cerr << "vestrino: --size: " << why << '\n';
            return 2;
        }
        options.size = *size;
    }
    if (std::string error; !setup.apply(error)) {
        std::cerr << "vestrino: " << error << '\n';
        return 2;
    }
    // The reachability monitor is started by the delegate's own launch sequence.
    auto delegate = vestrino::VestrinoAppDelegate::install();
    if (setup.documents) {
        delegate->setDocumentsDirectory(*setup.documents);
    }
    if (!theme.empty()) {
        delegate->setAppearanceOverride(vestrino::appearanceChoiceNamed(theme));
    }
    if (lockOption->count() > 0) {
        delegate->setLockOverride(vestrino::seconds(lockAfter));
    }
    // Pictures and layouts: beside the installed program, or in the source tree of a build.
    std::string error;
    const auto folder =
        vestrino::ResourceLocator::locate({"VESTRINO_RESOURCES", "", "resources"}, error);
    if (!folder) {
        std::cerr << "vestrino: cannot find the application's pictures and layouts: " << error
                  << '\n';
        return 1;
    }
    if (!vestrino::AppResources::verify(*folder, error)) {
        std::cerr << "vestrino: " << error << '\n';
        return 1;
    }
    vestrino::ui::UIImage::setResourceFolder(*folder / "images");
    vestrino::ui::UIImage::setDecoder(&vestrino::ui::PictureCodec::decode);
    vestrino::ui::UIImage::setPreferredScale(options.scale * options.size.zoom());
    if (vestrino::Translation::current() == vestrino::Language::English) {
        vestrino::ui::UIImage::setLanguageFolder("en");
    }
    vestrino::ui::LayoutLoader::setLayoutFolder(*folder / "layouts");
    vestrino::Capoluoghi::setDataFolder(*folder / "data");
    if (!options.headless) {
        delegate->setLinkOpener(std::make_shared<vestrino::DesktopLinkOpener>());
    }
    vestrino::registerAppViewClasses();
    // The window's icon is a nicety: without it the window still opens.
    if (std::ifstream icon(*folder / "icons" / "it.vestrino.Vestrino.png", std::ios::binary);
        icon) {
        const std::string bytes{std::istreambuf_iterator<char>(icon), {}};
        options.icon = vestrino::ui::PictureCodec::decode(bytes);
    }
    int code = 1;
    try {
        // The program picks where the window runs: on the screen, or headless on a script.
        std::unique_ptr<vestrino::ui::WindowHost> host;
        if (options.headless) {
            host = std::make_unique<vestrino::ui::HeadlessHost>();
        } else {
            host = std::make_unique<vestrino::ui::SdlWindowHost>();
        }
        code = vestrino::ui::UIApplicationMain(options, *delegate, std::cerr, *host);
    } catch (const std::exception& e) {
        // A screen whose layout turned out unusable after the check (changed while running).
        std::cerr << "vestrino: " << e.what() << '\n';
        code = 1;
    }
    // Quitting: every transfer in flight is aborted (each notices within a second); a worker
    // that is saving a card file finishes it; none starts another.
    vestrino::CancelToken::quit();
    if (!vestrino::WriteGate::closeAndDrain(std::chrono::seconds(10))) {
        std::cerr << "vestrino: a card file was still being written when the program ended\n";
    }
    if (vestrino::BackgroundTask::running() > 0) {
        // The window closed while a worker still waits for the service: leave now, without
        // waiting for it and without running the destructors its thread may still be using.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(code);
    }
    // The delegate, the one owner of the application's objects, goes before main returns: the
    // objects it holds are gone before any static they use.
    vestrino::Application::sharedApplication().setDelegate(nullptr);
    delegate.reset();
    return code;
}
