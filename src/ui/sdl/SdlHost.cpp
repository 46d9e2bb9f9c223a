#include "ui/sdl/SdlHost.h"

#include "core/BackgroundTask.h"
#include "core/RunLoop.h"
#include "ui/sdl/AssistiveTechnologyLoader.h"
#include "ui/sdl/ChangedRows.h"
#include "ui/sdl/SdlCanvas.h"
#include "ui/sdl/SdlClipboard.h"
#include "ui/sdl/SdlEventRouter.h"
#include "ui/sdl/SdlFonts.h"
#include "ui/sdl/WindowScale.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include <SDL2/SDL.h>
#include <algorithm>
#include <memory>
#include <mutex>

namespace vestrino::ui {

// Wakes the loop's wait from another thread with an event of the program's own type, until
// shut: none is sent once the window's teardown has begun (an event sent then could reach the
// X server after the window has gone).
class SdlHost::LoopWaker {
public:
    explicit LoopWaker(Uint32 type) : type_(type) {}
    void wake() {
        std::lock_guard lock(mutex_);
        if (open_ && type_ != static_cast<Uint32>(-1)) {
            SDL_Event e{};
            e.type = type_;
            SDL_PushEvent(&e);
        }
    }
    void shut() {
        std::lock_guard lock(mutex_);
        open_ = false;
    }

private:
    std::mutex mutex_;
    Uint32 type_;
    bool open_ = true;
};

namespace {
// The longest the idle loop sleeps without looking at the main queue, and the longest while a
// background task runs (its continuation shows within a frame or so).
constexpr int kIdleWait = 250;
constexpr int kWorkWait = 10;
// How long a closing window waits, hidden, before it is destroyed (see closeWindow).
constexpr Uint32 kCloseSettle = 30;
} // namespace

void SdlHost::WindowFree::operator()(SDL_Window* w) const {
    SDL_DestroyWindow(w);
}
void SdlHost::RendererFree::operator()(SDL_Renderer* r) const {
    SDL_DestroyRenderer(r);
}

SdlHost::SdlHost(std::shared_ptr<Window> window, double scale, bool scaleAsked, std::string title,
                 std::optional<Image> icon, double zoom)
    : window_(std::move(window)), scale_(scale), scaleAsked_(scaleAsked), zoom_(zoom),
      title_(std::move(title)), icon_(std::move(icon)) {}

SdlHost::~SdlHost() = default;

namespace {

// The frame to the screen. Over the window's own surface only the rows that changed go to the
// display server (a caret's blink sends a band of rows, not the frame); an accelerated renderer
// presents the whole frame, paced by vsync.
void present(SDL_Window* window, SDL_Renderer* renderer, bool paced, ChangedRows& changed) {
    SDL_Surface* surface = paced ? nullptr : SDL_GetWindowSurface(window);
    if (!surface || SDL_MUSTLOCK(surface)) {
        SDL_RenderPresent(renderer);
        return;
    }
    SDL_RenderFlush(renderer); // the software renderer's queued drawing, onto the surface
    const auto rowBytes = static_cast<std::size_t>(surface->w) * surface->format->BytesPerPixel;
    const auto bands = changed.update(static_cast<const std::uint8_t*>(surface->pixels), surface->h,
                                      rowBytes, static_cast<std::size_t>(surface->pitch));
    if (bands.empty()) {
        return;
    }
    std::vector<SDL_Rect> rects;
    rects.reserve(bands.size());
    for (const auto& band : bands) {
        rects.push_back({0, band.top, surface->w, band.height});
    }
    if (SDL_UpdateWindowSurfaceRects(window, rects.data(), static_cast<int>(rects.size())) != 0) {
        SDL_UpdateWindowSurface(window);
    }
}

} // namespace

bool SdlHost::run(std::string& error) {
    setHints();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        error = std::string("SDL cannot open a window: ") + SDL_GetError();
        return false;
    }
    if (!openWindow(error)) {
        renderer_.reset();
        sdlWindow_.reset();
        SDL_Quit();
        return false;
    }
    // Text input only while a text field is first responder.
    SDL_StopTextInput();
    // Ctrl+V pastes what the desktop copied; headless keeps its own clipboard.
    const auto ownClipboard = window_->clipboard();
    window_->setClipboard(std::make_shared<SdlClipboard>());
    loop();
    window_->setClipboard(ownClipboard);
    closeWindow();
    return true;
}

void SdlHost::setHints() {
    // Fingers are handled as fingers: no mouse events made up for them (a tap would come twice).
    SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
    // A card application leaves the screen saver alone.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // The view layer paints in software: the frame goes to the window's own surface, with no
    // GL stack loaded for it (a renderer over GL only where the platform has no such surface).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // On a Wayland desktop, Wayland itself (SDL would take XWayland otherwise), unless the
    // person chose a driver.
    if (std::getenv("WAYLAND_DISPLAY") && !std::getenv("SDL_VIDEODRIVER")) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland,x11");
    }
}

bool SdlHost::openWindow(std::string& error) {
    const Rect f = window_->frame();
    // The window opens wholly on the screen: the scale comes down until it fits.
    SDL_Rect area{};
    const Rect usable = SDL_GetDisplayUsableBounds(0, &area) == 0
                            ? makeRect(area.x, area.y, area.w, area.h)
                            : Rect{};
    const auto chosen =
        WindowScale::choose(Size{f.width() * zoom_, f.height() * zoom_},
                            scaleAsked_ ? std::optional<double>(scale_) : std::nullopt,
                            WindowScale::desktopFactor(), usable);
    if (chosen.note) {
        std::cerr << *chosen.note << '\n';
    }
    // Pixels a layout point: painting and the pointer's coordinates use it from here on.
    scale_ = chosen.scale * zoom_;
    UIImage::setPreferredScale(scale_);
    const Size pixels{std::floor(f.width() * scale_), std::floor(f.height() * scale_)};
    const Point at = usable.isEmpty() ? Point{} : WindowScale::placement(pixels, usable);
    sdlWindow_.reset(SDL_CreateWindow(
        title_.c_str(), usable.isEmpty() ? SDL_WINDOWPOS_CENTERED : static_cast<int>(at.x),
        usable.isEmpty() ? SDL_WINDOWPOS_CENTERED : static_cast<int>(at.y),
        static_cast<int>(pixels.width), static_cast<int>(pixels.height), 0));
    if (!sdlWindow_) {
        error = std::string("SDL cannot open a window: ") + SDL_GetError();
        return false;
    }
    setIcon();
    // The software renderer paints into the window's surface and presents it (X11, the
    // offscreen driver); SDL 2.26's Wayland driver has no window surface, and there the
    // accelerated renderer presents, paced by vsync.
    renderer_.reset(SDL_CreateRenderer(sdlWindow_.get(), -1, SDL_RENDERER_SOFTWARE));
    paced_ = !renderer_;
    if (!renderer_) {
        renderer_.reset(SDL_CreateRenderer(sdlWindow_.get(), -1,
                                           SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
    }
    if (!renderer_) {
        error = std::string("SDL has no renderer: ") + SDL_GetError();
        return false;
    }
    return true;
}

void SdlHost::setIcon() {
    if (!icon_ || icon_->width <= 0 || icon_->height <= 0) {
        return;
    }
    // The task bar's and the window switcher's picture; SDL copies the pixels.
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(icon_->rgba.data(), icon_->width, icon_->height, 32,
                                           icon_->width * 4, SDL_PIXELFORMAT_RGBA32),
        &SDL_FreeSurface);
    if (surface) {
        SDL_SetWindowIcon(sdlWindow_.get(), surface.get());
    }
}

// Work posted by other threads is picked up by the loop's own short waits (waitTimeout), not by
// waking it with an event: on X11 SDL wakes a waiting loop by sending an event to the window
// over a second connection, and one sent just before the window went down reached the server
// after it (an X error, and Xlib ends the program with status 1).
void SdlHost::loop() {
    SdlFonts fonts(scale_);
    SdlCanvas canvas(renderer_.get(), fonts);
    Screen screen(window_);
    SdlEventRouter router(window_, scale_);
    ChangedRows changedRows;
    bool moving = true;
    bool quit = false;
    bool firstFramePresented = false;
    auto lastFrame = std::chrono::steady_clock::now();
    // Assistive technology (a screen reader) is served once the first frame is up, when the
    // desktop has its accessibility bus; it goes before the window does. Its thread turns the
    // loop at once for a call that came in with an event of our own, shut before the window goes.
    std::unique_ptr<AssistiveTechnology> accessibility;
    const auto waker = std::make_shared<LoopWaker>(SDL_RegisterEvents(1));
    // For benchmarks: the longest the loop spent on one turn's work (events, the screens'
    // code, painting), that is the longest it could not answer the person.
    const bool logTurns = std::getenv("VESTRINO_LOG_LOOP") != nullptr;
    std::chrono::steady_clock::duration longestTurn{};
    while (!quit) {
        SDL_Event e;
        const bool got = SDL_WaitEventTimeout(&e, waitTimeout(moving, lastFrame));
        const auto turnStart = std::chrono::steady_clock::now();
        if (got) {
            quit = dispatch(e, router, changedRows);
        }
        syncTextInput();
        lastFrame = std::chrono::steady_clock::now();
        const auto painted = screen.framesPainted();
        moving = screen.tick(RunLoop::main().clock().now(), &canvas);
        if (screen.framesPainted() != painted) {
            present(sdlWindow_.get(), renderer_.get(), paced_, changedRows);
            canvas.endFrame();
            if (!firstFramePresented) {
                firstFramePresented = true;
                logFirstFrame();
                accessibility = startAccessibility(waker);
            }
        }
        longestTurn = std::max(longestTurn, std::chrono::steady_clock::now() - turnStart);
    }
    if (logTurns) {
        std::fprintf(stderr, "longest loop turn: %.1f ms\n",
                     std::chrono::duration<double, std::milli>(longestTurn).count());
    }
    waker->shut();
    accessibility.reset();
}

int SdlHost::waitTimeout(bool moving, std::chrono::steady_clock::time_point lastFrame) const {
    if (moving) {
        if (paced_) {
            return 0; // vsync paces the frames
        }
        // Something moves: the next frame comes a sixtieth of a second after the last.
        const auto due = lastFrame + std::chrono::microseconds(16667);
        return static_cast<int>(
            std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                       due - std::chrono::steady_clock::now())
                                       .count()));
    }
    // Nothing moves: sleep until an event or the next timer, and look at the main queue often
    // while a background task may post its continuation to it.
    int timeout = kIdleWait;
    if (const auto next = RunLoop::main().nextTimerDate()) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            *next - RunLoop::main().clock().now());
        timeout = static_cast<int>(std::clamp<long long>(ms.count(), 0, kIdleWait));
    }
    if (BackgroundTask::running() > 0 || !RunLoop::main().queue().empty()) {
        timeout = std::min(timeout, kWorkWait);
    }
    return timeout;
}

bool SdlHost::dispatch(SDL_Event& e, SdlEventRouter& router, ChangedRows& changedRows) {
    do {
        switch (router.handle(e, RunLoop::main().clock().now())) {
        case SdlEventRouter::Outcome::Quit:
            return true;
        case SdlEventRouter::Outcome::Repaint:
            // Exposed: the window lost what it showed, all of it goes again.
            window_->markDirty();
            changedRows.invalidate();
            break;
        case SdlEventRouter::Outcome::None:
            break;
        }
    } while (SDL_PollEvent(&e));
    return false;
}

void SdlHost::syncTextInput() {
    // Text input (and a phone's on-screen keyboard) only while a field has the focus.
    if (window_->wantsTextInput() && !SDL_IsTextInputActive()) {
        SDL_StartTextInput();
    } else if (!window_->wantsTextInput() && SDL_IsTextInputActive()) {
        SDL_StopTextInput();
    }
}

void SdlHost::logFirstFrame() const {
    if (!std::getenv("VESTRINO_LOG_FIRST_FRAME")) {
        return;
    }
    // For benchmarks: when the first frame was on the screen, on the clock a parent process
    // reads too (CLOCK_MONOTONIC), with which presenter and in which look.
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    std::fprintf(stderr, "first frame presented at monotonic %ld.%06ld s (%s, %s)\n",
                 static_cast<long>(t.tv_sec), t.tv_nsec / 1000,
                 paced_ ? "renderer" : "window surface",
                 window_->appearance() == Appearance::Dark ? "dark" : "light");
}

std::unique_ptr<AssistiveTechnology>
SdlHost::startAccessibility(const std::shared_ptr<LoopWaker>& waker) {
    return AssistiveTechnologyLoader::start(
        window_, title_,
        [this] {
            int x = 0, y = 0;
            SDL_GetWindowPosition(sdlWindow_.get(), &x, &y);
            return ScreenPlacement{x, y, scale_};
        },
        [waker] { waker->wake(); });
}

void SdlHost::closeWindow() {
    // An event queued while the loop waited (the close itself) makes SDL wake the wait by
    // sending an event to the window over a second X connection; destroyed at once, the window
    // could be gone before the server took that event: an X error, and Xlib ends the program
    // with status 1. Hidden first (a round trip on the first connection) and given a moment, the
    // window goes after the server has taken it.
    SDL_HideWindow(sdlWindow_.get());
    SDL_PumpEvents();
    SDL_Delay(kCloseSettle);
    SDL_PumpEvents();
    renderer_.reset();
    sdlWindow_.reset();
    SDL_Quit();
}

} // namespace vestrino::ui
