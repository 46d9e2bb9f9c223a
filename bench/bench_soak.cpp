// Long use: 300 logins and logouts through the screens, headless on the software renderer,
// against the stand-in. Resident memory after cycle 10 (everything warmed up) and after cycle
// 300: what grows with every login shows as the difference.
#include "BenchApp.h"
#include "BenchStandin.h"
#include "app/login/HomeViewController.h"
#include "app/wallet/CarteViewController.h"
#include "net/HttpClient.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

using namespace vestrino;

int main(int argc, char** argv) {
    const int cycles = std::max(10, argc > 1 ? std::atoi(argv[1]) : 300);
    std::string error;
    const auto standin = bench::startDemoStandin([](lumacard::DemoData&) {}, error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    bench::BenchApp app;
    auto* nav = app.delegate()->navigationController().get();
    auto tap = [&](double x, double y) {
        app.window().touchDown({x, y}, app.now());
        app.frame();
        app.window().touchUp({x, y}, app.now());
        app.frame();
    };
    auto visible = [&] { return nav->visibleViewController().get(); };
    double atTen = 0;
    std::size_t heapAtTen = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        tap(160, 201); // the user name field, then the password, as a person types them
        app.window().insertText("mario.rossi");
        app.window().returnKey();
        app.frame();
        app.window().insertText("lumacard1");
        app.window().returnKey();
        app.idle();     // login, then the wallet's card list
        app.frames(60); // its animations
        if (!dynamic_cast<CarteViewController*>(visible())) {
            std::fprintf(stderr, "cycle %d: the wallet did not open\n", cycle);
            return 1;
        }
        tap(120, 455); // log out
        app.idle();
        app.frames(60);
        if (!dynamic_cast<HomeViewController*>(visible())) {
            std::fprintf(stderr, "cycle %d: not back on the login screen\n", cycle);
            return 1;
        }
        if (cycle == 10) {
            atTen = bench::residentMegabytes();
            heapAtTen = mallinfo2().uordblks;
        }
    }
    const double atEnd = bench::residentMegabytes();
    std::printf("%d login/logout cycles through the screens, headless, software renderer\n",
                cycles);
    std::printf("resident memory: %.2f MB after cycle 10, %.2f MB after cycle %d: %+.2f MB "
                "(goal: under 1 MB apart); %.0f ms a cycle\n",
                atTen, atEnd, cycles, atEnd - atTen, bench::millisecondsSince(start) / cycles);
    std::printf("connections the stand-in saw: %zu\n", standin->knobs().connectionCount());
    std::printf("heap in use: %+.1f KB from cycle 10 to cycle %d\n",
                (static_cast<double>(mallinfo2().uordblks) - static_cast<double>(heapAtTen)) / 1024,
                cycles);
    // The stand-in waits for idle connections to time out (30 s) before it stops: close ours.
    HttpClient::shared().closeConnections();
    return 0;
}
