// The card editor with 1,000 cards in the user's list, headless on the software renderer,
// against the stand-in: from the save button to the editor popped with the encrypted card file
// written (the list saved whole each time).
#include "BenchApp.h"
#include "BenchStandin.h"
#include "app/editor/AggiungiCartaViewController.h"
#include "app/wallet/CarteViewController.h"
#include "net/HttpClient.h"
#include "service/RemoteServiceUtil.h"
#include "ui/TextField.h"

#include <algorithm>
#include <cstdio>

using namespace vestrino;
using SteadyClock = std::chrono::steady_clock;

int main() {
    std::string error;
    const auto standin = bench::startDemoStandin([](lumacard::DemoData&) {}, error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    bench::BenchApp app;
    ListaCarte thousand;
    for (int i = 0; i < 1000; ++i) {
        auto card = std::make_shared<CartaDiPagamento>();
        card->setSerial(std::to_string(5375120000000000LL + i));
        card->setAlias("Carta " + std::to_string(i));
        card->setDataAA("28");
        card->setDataMM("04");
        card->setAnonima(true);
        thousand.push_back(card);
    }
    std::filesystem::remove_all(app.delegate()->applicationDocumentsDirectory());
    if (!RemoteServiceUtil::salvaCartePerUtente("nuovo.utente", thousand) ||
        !app.login("nuovo.utente", "benvenuto")) {
        std::fprintf(stderr, "cannot store the cards or log in\n");
        return 1;
    }
    auto* nav = app.delegate()->navigationController().get();
    nav->pushViewController(std::make_shared<CarteViewController>(), false);
    app.waitForContinuation();
    app.frames(60);

    const int rounds = 20;
    double total = 0, worst = 0;
    for (int i = 0; i < rounds; ++i) {
        auto editor = std::make_shared<AggiungiCartaViewController>();
        nav->pushViewController(editor, false);
        app.frames(2);
        auto field = [&](const char* name) {
            return std::dynamic_pointer_cast<ui::TextField>(editor->outlet(name));
        };
        field("nomeCarta")->setText("Nuova " + std::to_string(i));
        field("numeroCarta")->setText(std::to_string(5375129000000000LL + i));
        field("scadenzaCarta")->setText("11/35");
        const auto start = SteadyClock::now();
        app.window().touchDown({160, 356}, app.now());
        app.window().touchUp({160, 356}, app.now());
        app.frame();
        const double ms = bench::millisecondsSince(start);
        total += ms;
        worst = std::max(worst, ms);
        if (nav->visibleViewController() == editor) {
            std::fprintf(stderr, "the editor did not close\n");
            return 1;
        }
        app.frames(40);
        app.idle(); // the wallet's reload
        app.frames(2);
    }
    const auto stored = RemoteServiceUtil::caricaCartaPerUtente("nuovo.utente");
    if (!stored || stored->size() != 1000 + rounds) {
        std::fprintf(stderr, "the file does not hold the added cards\n");
        return 1;
    }
    std::printf("card editor, 1,000 cards in the list, headless, software renderer, scale 1\n");
    std::printf("save button to the editor popped with the file written: %.2f ms on average, "
                "%.2f ms at worst (goal < 30 ms)\n",
                total / rounds, worst);
    // The stand-in waits for idle connections to time out (30 s) before it stops: close ours.
    HttpClient::shared().closeConnections();
    standin->stop();
    std::fflush(stdout);
    std::_Exit(0);
}
