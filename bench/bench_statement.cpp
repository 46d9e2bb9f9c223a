// The statement screen with 10,000 transactions, headless on the software renderer, against
// the stand-in: from the fetch's continuation reaching the main thread to the first painted
// frame of the statement, one filter toggle (re-filter, re-sort, repaint), a keystroke in the
// search field, the export of every row, a frame while the list scrolls, and the resident
// memory the screen adds.
#include "BenchApp.h"
#include "BenchStandin.h"
#include "app/statement/StatementExport.h"
#include "app/statement/TransazioniViewController.h"
#include "app/wallet/CarteViewController.h"
#include "entities/StatementCsv.h"
#include "entities/StatementFile.h"
#include "net/HttpClient.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

using namespace vestrino;
using SteadyClock = std::chrono::steady_clock;

namespace {

// 10,000 transactions over about three years, of every type and of none.
std::vector<lumacard::DemoData::Movimento> tenThousand() {
    const char* descriptions[] = {"PAGAMENTO POS SUPERMERCATO CONAD ROMA",
                                  "PRELIEVO ATM LUMASPOT UFFICIO ROMA 12",
                                  "RICARICA CARTA CONTANTI UFFICIO POSTALE",
                                  "RICARICA CARTA LUMACARD DA CONTO BANCOPOSTA",
                                  "RICARICA TELEFONICA OPERATORE TIM 3331234567",
                                  "Pagamento online Amazon EU",
                                  "COMMISSIONE PRELIEVO CIRCUITO INTERNAZIONALE"};
    std::vector<lumacard::DemoData::Movimento> out;
    for (int i = 0; i < 10000; ++i) {
        const int day = 1 + (i / 10) % 28, month = 1 + (i / 280) % 12, year = 2024 + i / 3360;
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%04d", day, month, year);
        const bool credit = i % 7 == 2 || i % 7 == 3;
        const std::string amount =
            std::to_string(1 + (i * 37) % 400) + "," + std::to_string(10 + i % 90);
        out.push_back(
            {date, date, credit ? "" : amount, credit ? amount : "", descriptions[i % 7]});
    }
    return out;
}

} // namespace

int main() {
    std::string error;
    const auto standin = bench::startDemoStandin(
        [](lumacard::DemoData& data) {
            lumacard::DemoData::Card card = data.cards[0];
            card.codice = "3000000001";
            card.movimenti = tenThousand();
            data.cards.push_back(card);
            data.users.push_back({"diecimila", "diecimila1", "MARIO ROSSI", {card.codice}});
        },
        error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    bench::BenchApp app;
    if (!app.login("diecimila", "diecimila1")) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    auto* nav = app.delegate()->navigationController().get();
    nav->pushViewController(std::make_shared<CarteViewController>(), false);
    app.waitForContinuation();
    app.frames(60);
    ui::Window& window = app.window();

    // Choose the card; time the tick that runs the fetch's continuation and paints.
    window.touchDown({160, 398}, app.now());
    window.touchUp({160, 398}, app.now());
    app.waitForContinuation();
    const double before = bench::residentMegabytes();
    const auto start = SteadyClock::now();
    app.frame();
    const double firstPaint = bench::millisecondsSince(start);
    app.frames(40); // the push's slide
    auto screen =
        std::dynamic_pointer_cast<TransazioniViewController>(nav->visibleViewController());
    if (!screen || screen->movimentiFiltrati().size() != 10000) {
        std::fprintf(stderr, "the statement screen did not open with 10,000 rows\n");
        return 1;
    }

    // The withdrawal toggle, on and off: a tap, then the frame that shows the new list.
    const int toggles = 40;
    double toggleTotal = 0, toggleWorst = 0;
    for (int i = 0; i < toggles; ++i) {
        const auto t = SteadyClock::now();
        window.touchDown({74, 285}, app.now());
        window.touchUp({74, 285}, app.now());
        app.frame();
        const double ms = bench::millisecondsSince(t);
        toggleTotal += ms;
        toggleWorst = std::max(toggleWorst, ms);
    }
    if (!screen->filters().empty()) {
        std::fprintf(stderr, "the toggles did not end off\n");
        return 1;
    }

    // The search field: a keystroke (a character typed or deleted), then the frame that shows
    // the narrowed list with its count and total.
    window.touchDown({120, 246}, app.now());
    window.touchUp({120, 246}, app.now());
    app.frames(5);
    const std::string word = "conad";
    int keys = 0;
    double keyTotal = 0, keyWorst = 0;
    for (int round = 0; round < 20; ++round) {
        for (std::size_t i = 0; i < word.size() * 2; ++i) {
            const auto t = SteadyClock::now();
            if (i < word.size()) {
                window.insertText(word.substr(i, 1));
            } else {
                window.deleteBackward();
            }
            app.frame();
            const double ms = bench::millisecondsSince(t);
            keyTotal += ms;
            keyWorst = std::max(keyWorst, ms);
            ++keys;
        }
    }
    if (screen->movimentiFiltrati().size() != 10000 || !screen->searchText().empty()) {
        std::fprintf(stderr, "the search did not end empty\n");
        return 1;
    }
    window.clearFirstResponder();

    // Export of every row: the CSV, OFX and QIF texts alone, and the whole CSV file written
    // (synced) to disk.
    const auto all = screen->movimentiFiltrati();
    const int exports = 20;
    double csvTotal = 0, fileTotal = 0, fileWorst = 0, ofxTotal = 0, qifTotal = 0;
    const StatementSource source{all, screen->carta().get(), screen->saldo().get(), {}};
    const auto folder = std::filesystem::temp_directory_path() / "vestrino-bench-export";
    std::filesystem::remove_all(folder);
    for (int i = 0; i < exports; ++i) {
        auto t = SteadyClock::now();
        const std::string csv = StatementCsv::write(all);
        csvTotal += bench::millisecondsSince(t);
        t = SteadyClock::now();
        const auto file =
            StatementExport::write(csv, "5333171012345670", "2026-12-07", "csv", folder);
        const double ms = bench::millisecondsSince(t);
        fileTotal += ms;
        fileWorst = std::max(fileWorst, ms);
        if (!file || csv.size() < 10000 * 40) {
            std::fprintf(stderr, "the export failed\n");
            return 1;
        }
    }
    std::filesystem::remove_all(folder);

    // Scroll the list: one move and one painted frame at a time.
    const int frames = 240;
    double worst = 0;
    window.touchDown({160, 420}, app.now());
    const auto scrollStart = SteadyClock::now();
    for (int i = 1; i <= frames; ++i) {
        const auto t = SteadyClock::now();
        window.touchMove({160, 420.0 - (i % 100) * 3.0}, app.now());
        app.frame();
        worst = std::max(worst, bench::millisecondsSince(t));
    }
    const double perFrame = bench::millisecondsSince(scrollStart) / frames;
    window.touchUp({160, 120}, app.now());
    app.frames(60);
    const double after = bench::residentMegabytes();

    // OFX and QIF texts of every row, after the screen's memory is read: what an export
    // allocates for a moment is not the screen's.
    for (int i = 0; i < exports; ++i) {
        auto t = SteadyClock::now();
        const auto ofx = StatementFile::write(StatementFormat::Ofx, source);
        ofxTotal += bench::millisecondsSince(t);
        t = SteadyClock::now();
        const auto qif = StatementFile::write(StatementFormat::Qif, source);
        qifTotal += bench::millisecondsSince(t);
        if (ofx.rows != 10000 || qif.rows != 10000) {
            std::fprintf(stderr, "the OFX or QIF export lost rows\n");
            return 1;
        }
    }

    // "Grafico": the chart in place of the list (the months added up, the bars made and the
    // frame painted), then a frame of the chart painted whole, and a toggle while it shows.
    const int charts = 40;
    double chartOnTotal = 0, chartOnWorst = 0, chartPaintTotal = 0, chartPaintWorst = 0;
    for (int i = 0; i < charts; ++i) {
        auto t = SteadyClock::now();
        screen->mostraGrafico();
        app.frame();
        double ms = bench::millisecondsSince(t);
        chartOnTotal += ms;
        chartOnWorst = std::max(chartOnWorst, ms);
        t = SteadyClock::now();
        window.markDirty();
        app.frame();
        ms = bench::millisecondsSince(t);
        chartPaintTotal += ms;
        chartPaintWorst = std::max(chartPaintWorst, ms);
        screen->mostraGrafico(); // the list again
        app.frame();
    }
    screen->mostraGrafico();
    if (!screen->chartShown() || screen->chart()->bars().size() != 36) {
        std::fprintf(stderr, "the chart did not show 36 months\n");
        return 1;
    }

    std::printf("statement of 10,000 transactions, headless, software renderer, scale 1\n");
    std::printf("fetch continuation to the first painted frame: %.2f ms (goal < 30 ms)\n",
                firstPaint);
    std::printf("one filter toggle, re-sorted and repainted: %.2f ms on average, %.2f ms at "
                "worst (goal < 10 ms)\n",
                toggleTotal / toggles, toggleWorst);
    std::printf("a keystroke in the search field, narrowed, totalled and repainted: %.2f ms on "
                "average, %.2f ms at worst over %d keys (goal < 10 ms)\n",
                keyTotal / keys, keyWorst, keys);
    std::printf("export of all 10,000 rows: CSV text %.2f ms, the file written and synced %.2f ms "
                "on average, %.2f ms at worst (goal < 20 ms); OFX text %.2f ms, QIF text %.2f "
                "ms\n",
                csvTotal / exports, fileTotal / exports, fileWorst, ofxTotal / exports,
                qifTotal / exports);
    std::printf("frame while the list scrolls: %.2f ms on average, %.2f ms at worst (goal < 4 "
                "ms)\n",
                perFrame, worst);
    std::printf("resident memory the screen adds: %.1f MB (goal < 10 MB)\n", after - before);
    std::printf("the chart of 36 months shown in place of the list: %.2f ms on average, %.2f ms "
                "at worst; a frame of it painted whole: %.2f ms on average, %.2f ms at worst "
                "(goal < 5 ms)\n",
                chartOnTotal / charts, chartOnWorst, chartPaintTotal / charts, chartPaintWorst);
    // The stand-in waits for idle connections to time out (30 s) before it stops: close ours.
    HttpClient::shared().closeConnections();
    standin->stop();
    std::fflush(stdout);
    std::_Exit(0);
}
