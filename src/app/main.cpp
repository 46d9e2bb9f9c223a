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

namespace {

using namespace vestrino;

// What the command line asked for, beside the service's settings and the window's options.
struct ProgramOptions {
    ServiceSetup setup;
    ui::LaunchOptions launch;
    CLI::Option* scaleOption = nullptr;
    std::string sizeText;
    std::string lang;
    std::string theme;
    double lockAfter = 0;
    CLI::Option* lockOption = nullptr;
    bool verbose = false;
};

void addOptions(CLI::App& app, ProgramOptions& o) {
    app.set_version_flag("--version", versionLine("vestrino"));
    app.add_option("--host", o.setup.host, "The service host, HOST[:PORT]");
    app.add_option("--cafile", o.setup.cafile, "Trust this CA file instead of the system's");
    app.add_option("--documents", o.setup.documents, "The documents folder (card files)");
    app.add_option("--reachability", o.setup.reachability,
                   "Fixed reachability flags instead of the kernel's (2: reachable)");
    o.scaleOption = app.add_option("--scale", o.launch.scale,
                                   "Pixels per point (HiDPI; lowered to what fits the screen)")
                        ->check(CLI::Range(1.0, 4.0));
    app.add_option("--size", o.sizeText,
                   "The phone screen in points, WIDTHxHEIGHT (320x480 unless given; 360x720 "
                   "shows the screens 1.125 times larger and 640 points tall)");
    app.add_flag("--touch", o.launch.touch,
                 "A touch screen: typing happens on an on-screen keyboard, the screens make room");
    app.add_flag("--headless", o.launch.headless, "No window: run a script on a virtual clock");
    app.add_flag("--physical-keyboard", o.launch.physicalKeyboard,
                 "Headless: model a desktop with its own keyboard (no on-screen keyboard)");
    app.add_option("--script", o.launch.script, "The headless script");
    app.add_option("--out", o.launch.out, "Where headless snapshots go");
    app.add_option("--lang", o.lang,
                   "The language of the texts, it or en (else the environment's: LANGUAGE, "
                   "LC_ALL, LC_MESSAGES, LANG)")
        ->check(CLI::IsMember({"it", "en"}));
    app.add_option("--theme", o.theme,
                   "The look for this run: system (the desktop's colour scheme), light or dark "
                   "(else what the information screen keeps)")
        ->check(CLI::IsMember({"system", "light", "dark"}));
    o.lockOption =
        app.add_option("--lock-after", o.lockAfter,
                       "Lock the session after this many seconds without input, whatever the "
                       "information screen says (for trying the lock out)")
            ->check(CLI::Range(1.0, 86400.0));
    app.add_flag("--verbose", o.verbose,
                 "Also print what the service's replies said on their way to a failure (as "
                 "VESTRINO_DEBUG=1 does)");
}

// The options that need checks beyond their own: false (the reason on stderr) ends the program
// with status 2.
bool applyOptions(ProgramOptions& o) {
    if (o.verbose) {
        Log::setDebug(true);
    }
    o.launch.scaleAsked = o.scaleOption->count() > 0;
    // The language first: every text made from here on is in it.
    Translation::useForProgram(o.lang, "vestrino", std::cerr);
    if (!o.sizeText.empty()) {
        std::string why;
        const auto size = ui::ScreenSize::parse(o.sizeText, why);
        if (!size) {
            std::cerr << "vestrino: --size: " << why << '\n';
            return false;
        }
        o.launch.size = *size;
    }
    if (std::string error; !o.setup.apply(error)) {
        std::cerr << "vestrino: " << error << '\n';
        return false;
    }
    return true;
}

void configureDelegate(VestrinoAppDelegate& delegate, const ProgramOptions& o) {
    if (o.setup.documents) {
        delegate.setDocumentsDirectory(*o.setup.documents);
    }
    if (!o.theme.empty()) {
        delegate.setAppearanceOverride(appearanceChoiceNamed(o.theme));
    }
    if (o.lockOption->count() > 0) {
        delegate.setLockOverride(seconds(o.lockAfter));
    }
    if (!o.launch.headless) {
        delegate.setLinkOpener(std::make_shared<DesktopLinkOpener>());
    }
}

// Pictures and layouts: beside the installed program, or in the source tree of a build. False
// (the reason on stderr) when they are missing or damaged.
bool loadResources(ui::LaunchOptions& launch) {
    std::string error;
    const auto folder = ResourceLocator::locate({"VESTRINO_RESOURCES", "", "resources"}, error);
    if (!folder) {
        std::cerr << "vestrino: cannot find the application's pictures and layouts: " << error
                  << '\n';
        return false;
    }
    if (!AppResources::verify(*folder, error)) {
        std::cerr << "vestrino: " << error << '\n';
        return false;
    }
    ui::UIImage::setResourceFolder(*folder / "images");
    ui::UIImage::setDecoder(&ui::PictureCodec::decode);
    ui::UIImage::setPreferredScale(launch.scale * launch.size.zoom());
    if (Translation::current() == Language::English) {
        ui::UIImage::setLanguageFolder("en");
    }
    ui::LayoutLoader::setLayoutFolder(*folder / "layouts");
    Capoluoghi::setDataFolder(*folder / "data");
    registerAppViewClasses();
    // The window's icon is a nicety: without it the window still opens.
    if (std::ifstream icon(*folder / "icons" / "it.vestrino.Vestrino.png", std::ios::binary);
        icon) {
        const std::string bytes{std::istreambuf_iterator<char>(icon), {}};
        launch.icon = ui::PictureCodec::decode(bytes);
    }
    return true;
}

int runApplication(const ui::LaunchOptions& launch, VestrinoAppDelegate& delegate) {
    try {
        // The program picks where the window runs: on the screen, or headless on a script.
        std::unique_ptr<ui::WindowHost> host;
        if (launch.headless) {
            host = std::make_unique<ui::HeadlessHost>();
        } else {
            host = std::make_unique<ui::SdlWindowHost>();
        }
        return ui::UIApplicationMain(launch, delegate, std::cerr, *host);
    } catch (const std::exception& e) {
        // A screen whose layout turned out unusable after the check (changed while running).
        std::cerr << "vestrino: " << e.what() << '\n';
        return 1;
    }
}

// Quitting: every transfer in flight is aborted (each notices within a second); a worker that
// is saving a card file finishes it; none starts another.
int finish(int code, std::shared_ptr<VestrinoAppDelegate> delegate) {
    CancelToken::quit();
    if (!WriteGate::closeAndDrain(std::chrono::seconds(10))) {
        std::cerr << "vestrino: a card file was still being written when the program ended\n";
    }
    if (BackgroundTask::running() > 0) {
        // The window closed while a worker still waits for the service: leave now, without
        // waiting for it and without running the destructors its thread may still be using.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(code);
    }
    // The delegate, the one owner of the application's objects, goes before main returns: the
    // objects it holds are gone before any static they use.
    Application::sharedApplication().setDelegate(nullptr);
    delegate.reset();
    return code;
}

} // namespace

int main(int argc, char** argv) {
    // With no session bus, the libraries below us (SDL's input-method and screen-saver code)
    // would have one started for them, and that daemon would outlive the program: say there
    // is none. Done first, before any thread reads the environment.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    // The Wayland app id is the desktop file's name: the shell shows its icon and name.
    ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", "it.vestrino.Vestrino", 0);
    CLI::App app{"vestrino: your Lumacard cards, balances and transactions"};
    ProgramOptions options;
    options.launch.title = "Vestrino";
    addOptions(app, options);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    if (!applyOptions(options)) {
        return 2;
    }
    // The reachability monitor is started by the delegate's own launch sequence.
    auto delegate = VestrinoAppDelegate::install();
    configureDelegate(*delegate, options);
    if (!loadResources(options.launch)) {
        return 1;
    }
    const int code = runApplication(options.launch, *delegate);
    return finish(code, std::move(delegate));
}
