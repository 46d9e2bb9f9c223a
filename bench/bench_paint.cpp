// The painter on the software renderer: a 320 × 480 frame with 50 image views and 100 labels,
// and a tick when nothing changed (which must paint nothing).
#include "core/ImageResampler.h"
#include "core/RunLoop.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/headless/HeadlessScreen.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

std::shared_ptr<UIImage> picture() {
    Image img;
    img.width = 40;
    img.height = 30;
    img.rgba.assign(static_cast<std::size_t>(40 * 30 * 4), 200);
    return std::make_shared<UIImage>(std::move(img));
}

std::shared_ptr<Window> busyWindow() {
    auto window = std::make_shared<Window>();
    window->setBackgroundColor(Color::white());
    const auto image = picture();
    for (int i = 0; i < 50; ++i) {
        auto v = std::make_shared<ImageView>(image);
        v->setFrame(makeRect((i % 7) * 45, (i / 7) * 60, 40, 30));
        window->addSubview(v);
    }
    for (int i = 0; i < 100; ++i) {
        auto l = std::make_shared<Label>(makeRect((i % 4) * 80, (i / 4) * 19, 80, 18));
        l->setText("Etichetta " + std::to_string(i));
        l->setFont({"Helvetica", 12});
        window->addSubview(l);
    }
    return window;
}

void BM_PaintFrame(benchmark::State& state) {
    HeadlessScreen screen(busyWindow(), static_cast<double>(state.range(0)));
    for (auto _ : state) {
        screen.screen().window()->markDirty();
        screen.tick(RunLoop::main().clock().now());
    }
}

void BM_TickWithNothingChanged(benchmark::State& state) {
    HeadlessScreen screen(busyWindow());
    screen.tick(RunLoop::main().clock().now());
    const auto painted = screen.screen().framesPainted();
    for (auto _ : state) {
        screen.tick(RunLoop::main().clock().now());
    }
    if (screen.screen().framesPainted() != painted) {
        state.SkipWithError("a tick with nothing changed painted a frame");
    }
    state.counters["frames_painted"] =
        static_cast<double>(screen.screen().framesPainted() - painted);
}

// A 1,000-row table scrolled end to end: how many cells are ever built.
class Rows : public TableViewDataSource {
public:
    int numberOfRows(TableView&) override { return 1000; }
    std::shared_ptr<TableViewCell> cellForRow(TableView& table, int row) override {
        auto cell = table.dequeueReusableCell("riga");
        if (!cell) {
            cell = std::make_shared<TableViewCell>("riga");
        }
        cell->textLabel().setText("Movimento " + std::to_string(row));
        return cell;
    }
};

void BM_TableEndToEnd(benchmark::State& state) {
    Rows rows;
    std::size_t made = 0, visible = 0;
    for (auto _ : state) {
        auto window = std::make_shared<Window>();
        auto table = std::make_shared<TableView>(makeRect(0, 44, 320, 392));
        table->setDataSource(&rows);
        window->addSubview(table);
        table->reloadData();
        visible = table->visibleCells().size();
        for (double y = 0; y <= table->contentSize().height - 392; y += 13) {
            table->setContentOffset({0, y});
        }
        made = table->cellsMade();
    }
    state.counters["cells_built"] = static_cast<double>(made);
    state.counters["rows_visible"] = static_cast<double>(visible);
    if (made > visible + 2) {
        state.SkipWithError("more cells built than the visible rows + 2");
    }
}

// Eight statement rows whose descriptions are a million characters each, set anew and painted:
// a label measures and paints only what fits its frame, so a frame costs what short texts
// cost. The resident memory's growth over the run is reported too (goal: under 10 MB).
void BM_HugeDescriptions(benchmark::State& state) {
    auto window = std::make_shared<Window>();
    window->setBackgroundColor(Color::white());
    std::vector<std::shared_ptr<Label>> rows;
    for (int i = 0; i < 8; ++i) {
        auto l = std::make_shared<Label>(makeRect(10, 60 + i * 44, 300, 18));
        l->setFont({"Helvetica", 13});
        window->addSubview(l);
        rows.push_back(l);
    }
    HeadlessScreen screen(window);
    std::string text(1'000'000, 'A');
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    int n = 0;
    for (auto _ : state) {
        for (auto& l : rows) {
            text.back() = static_cast<char>('A' + (n++ % 26)); // a new text every time
            l->setText(text);
        }
        screen.tick(RunLoop::main().clock().now());
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    state.counters["peak_rss_growth_MB"] =
        static_cast<double>(after.ru_maxrss - before.ru_maxrss) / 1024.0;
}

} // namespace

// The service's banner (320 × 480 pixels) resized once for a screen of two pixels a point, as
// the splash draws it: what its first frame pays for a sharp picture.
void BM_BannerResizedOnce(benchmark::State& state) {
    Image banner{320, 480, std::vector<std::uint8_t>(320 * 480 * 4, 0)};
    for (std::size_t i = 0; i < banner.rgba.size(); ++i) {
        banner.rgba[i] = static_cast<std::uint8_t>(i * 7 % 251);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImageResampler::resized(banner, 640, 960));
    }
}

BENCHMARK(BM_TableEndToEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickWithNothingChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HugeDescriptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BannerResizedOnce)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
