// The painter on the software renderer: a 320 × 480 frame with 50 image views and 100 labels,
// and a tick when nothing changed (which must paint nothing).
#include "core/RunLoop.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/headless/HeadlessScreen.h"

#include <benchmark/benchmark.h>

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
    state.counters["frames_painted"] = static_cast<double>(screen.screen().framesPainted() - painted);
}

} // namespace

BENCHMARK(BM_PaintFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickWithNothingChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
