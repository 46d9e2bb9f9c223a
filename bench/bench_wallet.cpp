// The wallet with 50 cards, headless on the software renderer: the time from the card-list
// continuation reaching the main thread to the painted carousel, and the frame time while the
// finger drags the carousel.
#include "BenchApp.h"
#include "BenchStandin.h"
#include "app/wallet/CarteViewController.h"
#include "net/HttpClient.h"

#include <chrono>
#include <cstdio>

using namespace vestrino;
using SteadyClock = std::chrono::steady_clock;

int main() {
    std::string error;
    const auto standin = bench::startDemoStandin(
        [](lumacard::DemoData& data) {
            // A user with 50 cards.
            lumacard::DemoData::User user{"cinquanta", "cinquanta1", "MARIO ROSSI", {}};
            for (int i = 0; i < 50; ++i) {
                lumacard::DemoData::Card card = data.cards[0];
                card.codice = std::to_string(2000000000 + i);
                card.numero = "53331710" + std::to_string(20000000 + i);
                data.cards.push_back(card);
                user.cards.push_back(card.codice);
            }
            data.users.push_back(user);
        },
        error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    lumacard::StandinServer& server = *standin;
    bench::BenchApp app;
    if (!app.login("cinquanta", "cinquanta1")) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    auto wallet = std::make_shared<CarteViewController>();
    app.delegate()->navigationController()->pushViewController(wallet, false);
    // Wait for the worker's continuation, then time the tick that runs it and paints.
    app.waitForContinuation();
    const auto start = SteadyClock::now();
    app.frame();
    const double firstPaint = bench::millisecondsSince(start);
    if (wallet->arrayImageViews().size() != 51) {
        std::fprintf(stderr, "the carousel has %zu pages\n", wallet->arrayImageViews().size());
        return 1;
    }
    ui::Window* window = &app.window();
    // Drag across the carousel: one move and one painted frame at a time.
    const int frames = 240;
    double worst = 0;
    const auto dragStart = SteadyClock::now();
    window->touchDown({300, 150}, app.now());
    for (int i = 0; i < frames; ++i) {
        const auto t = SteadyClock::now();
        window->touchMove({300.0 - (i % 120) * 2.0, 150}, app.now());
        app.frame();
        worst = std::max(worst, bench::millisecondsSince(t));
    }
    const double perFrame = bench::millisecondsSince(dragStart) / frames;
    window->touchUp({60, 150}, app.now());
    std::printf("wallet with 50 cards (51 pages), headless, software renderer, scale 1\n");
    std::printf("card-list continuation to the painted carousel: %.2f ms (goal < 50 ms)\n",
                firstPaint);
    std::printf("frame while dragging: %.2f ms on average, %.2f ms at worst (goal < 8 ms)\n",
                perFrame, worst);
    // The stand-in waits for idle connections to time out (30 s) before it stops: close ours.
    HttpClient::shared().closeConnections();
    server.stop();
    std::fflush(stdout);
    std::_Exit(0);
}
