// The wallet with 50 cards, headless on the software renderer: the time from the card-list
// continuation reaching the main thread to the painted carousel, and the frame time while the
// finger drags the carousel.
#include "BenchStandin.h"
#include "app/AppViewClasses.h"
#include "app/CarteViewController.h"
#include "app/VestrinoAppDelegate.h"
#include "core/BackgroundTask.h"
#include "core/RunLoop.h"
#include "net/HttpClient.h"
#include "net/ReachabilityFlagSource.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "ui/LayoutLoader.h"
#include "ui/UIImage.h"
#include "ui/headless/HeadlessScreen.h"

#include <chrono>
#include <cstdio>

using namespace vestrino;
using SteadyClock = std::chrono::steady_clock;

int main() {
    std::string error;
    auto data = lumacard::DemoData::load(
        std::string(VESTRINO_SOURCE_DIR) + "/standin/data/demo.json", error);
    if (!data) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // A user with 50 cards.
    lumacard::DemoData::User user{"cinquanta", "cinquanta1", "MARIO ROSSI", {}};
    for (int i = 0; i < 50; ++i) {
        lumacard::DemoData::Card card = data->cards[0];
        card.codice = std::to_string(2000000000 + i);
        card.numero = "53331710" + std::to_string(20000000 + i);
        data->cards.push_back(card);
        user.cards.push_back(card.codice);
    }
    data->users.push_back(user);
    const auto standin = bench::startStandin(std::move(*data), error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    lumacard::StandinServer& server = *standin;
    ReachabilityFlagSource::setSystem(std::make_shared<FixedFlagSource>(2));
    const std::filesystem::path resources = std::string(VESTRINO_SOURCE_DIR) + "/resources";
    ui::UIImage::setResourceFolder(resources / "images");
    ui::LayoutLoader::setLayoutFolder(resources / "layouts");
    registerAppViewClasses();
    RunLoop::main().adoptCurrentThread();
    auto clock = std::make_shared<VirtualClock>();
    RunLoop::main().setClock(clock);
    auto delegate = VestrinoAppDelegate::install();
    delegate->setDocumentsDirectory(std::filesystem::temp_directory_path() / "vestrino-bench-docs");
    auto window = std::make_shared<ui::Window>();
    delegate->applicationDidFinishLaunching(window);
    ui::HeadlessScreen screen(window);
    auto frame = [&] {
        clock->advance(seconds(1.0 / 60));
        screen.tick(clock->now());
    };
    for (int i = 0; i < 120; ++i) {
        frame(); // past the splash
    }
    std::optional<std::string> message;
    if (RemoteServiceUtil::login("cinquanta", "cinquanta1", message) != SUCCESS) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    delegate->setLoggedIn(true);
    auto wallet = std::make_shared<CarteViewController>();
    delegate->navigationController()->pushViewController(wallet, false);
    // Wait for the worker's continuation, then time the tick that runs it and paints.
    while (BackgroundTask::running() > 0 || RunLoop::main().queue().empty()) {
        RunLoop::main().queue().waitForWork(SteadyClock::now() + std::chrono::milliseconds(5));
        if (BackgroundTask::running() == 0 && !RunLoop::main().queue().empty()) {
            break;
        }
    }
    const auto start = SteadyClock::now();
    frame();
    const double firstPaint =
        std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
    if (wallet->arrayImageViews().size() != 51) {
        std::fprintf(stderr, "the carousel has %zu pages\n", wallet->arrayImageViews().size());
        return 1;
    }
    // Drag across the carousel: one move and one painted frame at a time.
    const int frames = 240;
    double worst = 0;
    const auto dragStart = SteadyClock::now();
    window->touchDown({300, 150}, clock->now());
    for (int i = 0; i < frames; ++i) {
        const auto t = SteadyClock::now();
        window->touchMove({300.0 - (i % 120) * 2.0, 150}, clock->now());
        frame();
        worst = std::max(worst,
                         std::chrono::duration<double, std::milli>(SteadyClock::now() - t).count());
    }
    const double perFrame =
        std::chrono::duration<double, std::milli>(SteadyClock::now() - dragStart).count() / frames;
    window->touchUp({60, 150}, clock->now());
    std::printf("wallet with 50 cards (51 pages), headless, software renderer, scale 1\n");
    std::printf("card-list continuation to the painted carousel: %.2f ms (goal < 50 ms)\n",
                firstPaint);
    std::printf("frame while dragging: %.2f ms on average, %.2f ms at worst (goal < 8 ms)\n",
                perFrame, worst);
    server.stop();
    std::fflush(stdout);
    std::_Exit(0);
}
