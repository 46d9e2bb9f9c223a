#include "ui/sdl/SdlEventRouter.h"
#include "ui/ScrollView.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

// Logs the touches it gets, in window points.
class TouchPad : public View {
public:
    using View::View;
    std::vector<std::string> log;
    void touchesBegan(const Touch& t) override { note("began", t); }
    void touchesMoved(const Touch& t) override { note("moved", t); }
    void touchesEnded(const Touch& t) override { note("ended", t); }
    void touchesCancelled(const Touch& t) override { note("cancelled", t); }

private:
    void note(const char* what, const Touch& t) {
        log.push_back(std::string(what) + " " + std::to_string(int(t.windowLocation.x)) + "," +
                      std::to_string(int(t.windowLocation.y)));
    }
};

// SDL's event queue for real: events pushed into it and read back as the window's loop reads
// them, with no window (the queue needs none).
class SdlQueue {
public:
    SdlQueue() { ok_ = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0; }
    ~SdlQueue() { SDL_QuitSubSystem(SDL_INIT_EVENTS); }
    bool ok() const { return ok_; }
    void push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    // Hands every queued event to the router; the last outcome other than None.
    SdlEventRouter::Outcome drain(SdlEventRouter& router, TimePoint now) {
        auto outcome = SdlEventRouter::Outcome::None;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (const auto o = router.handle(e, now); o != SdlEventRouter::Outcome::None) {
                outcome = o;
            }
        }
        return outcome;
    }

private:
    bool ok_ = false;
};

SDL_Event finger(Uint32 type, SDL_FingerID id, float x, float y) {
    SDL_Event e{};
    e.type = type;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = id;
    e.tfinger.x = x;
    e.tfinger.y = y;
    return e;
}

SDL_Event mouseButton(Uint32 type, int x, int y, Uint32 which) {
    SDL_Event e{};
    e.type = type;
    e.button.which = which;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    return e;
}

} // namespace

TEST(SdlEventRouter, FingersDriveTheTouchOnceAndASecondFingerIsIgnored) {
    test::UiClock clock;
    SdlQueue queue;
    ASSERT_TRUE(queue.ok()) << SDL_GetError();
    auto window = std::make_shared<Window>();
    auto pad = std::make_shared<TouchPad>(makeRect(0, 0, 320, 480));
    window->addSubview(pad);
    SdlEventRouter router(window, 2.0); // two pixels a point: fingers come as fractions
    // One finger down, a second finger (ignored), the mouse events SDL would make up for the
    // first (skipped), the first moving and lifting.
    queue.push(finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    queue.push(mouseButton(SDL_MOUSEBUTTONDOWN, 320, 240, SDL_TOUCH_MOUSEID));
    queue.push(finger(SDL_FINGERDOWN, 8, 0.1f, 0.1f));
    queue.push(finger(SDL_FINGERMOTION, 8, 0.2f, 0.2f));
    queue.push(finger(SDL_FINGERMOTION, 7, 0.75f, 0.25f));
    queue.push(finger(SDL_FINGERUP, 8, 0.2f, 0.2f));
    queue.push(mouseButton(SDL_MOUSEBUTTONUP, 320, 240, SDL_TOUCH_MOUSEID));
    queue.push(finger(SDL_FINGERUP, 7, 0.75f, 0.5f));
    queue.drain(router, clock.now());
    EXPECT_EQ(pad->log,
              (std::vector<std::string>{"began 160,120", "moved 240,120", "ended 240,240"}));
    // Then the real mouse works as before, in points.
    pad->log.clear();
    queue.push(mouseButton(SDL_MOUSEBUTTONDOWN, 100, 100, 0));
    queue.push(mouseButton(SDL_MOUSEBUTTONUP, 100, 100, 0));
    queue.drain(router, clock.now());
    EXPECT_EQ(pad->log, (std::vector<std::string>{"began 50,50", "ended 50,50"}));
    // While a finger is down the mouse's button does nothing.
    pad->log.clear();
    queue.push(finger(SDL_FINGERDOWN, 9, 0.5f, 0.5f));
    queue.push(mouseButton(SDL_MOUSEBUTTONDOWN, 10, 10, 0));
    queue.push(finger(SDL_FINGERUP, 9, 0.5f, 0.5f));
    queue.drain(router, clock.now());
    EXPECT_EQ(pad->log, (std::vector<std::string>{"began 160,240", "ended 160,240"}));
}

TEST(SdlEventRouter, TheWheelScrollsWhatIsUnderThePointerAndKeysMapToCommands) {
    test::UiClock clock;
    SdlQueue queue;
    ASSERT_TRUE(queue.ok()) << SDL_GetError();
    auto window = std::make_shared<Window>();
    auto list = std::make_shared<ScrollView>(makeRect(0, 100, 320, 200));
    list->setContentSize({320, 1000});
    window->addSubview(list);
    SdlEventRouter router(window, 1.0);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 160;
    motion.motion.y = 150;
    queue.push(motion);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -2; // two notches towards the user: the content moves up
    wheel.wheel.preciseY = -2;
    queue.push(wheel);
    queue.drain(router, clock.now());
    EXPECT_EQ(list->contentOffset().y, 2 * SdlEventRouter::kWheelNotch);
    // Over nothing that scrolls, the wheel does nothing.
    motion.motion.y = 20;
    queue.push(motion);
    queue.push(wheel);
    queue.drain(router, clock.now());
    EXPECT_EQ(list->contentOffset().y, 2 * SdlEventRouter::kWheelNotch);

    struct Key {
        SDL_Keycode sym;
        Uint16 mod;
        std::optional<KeyCommand> command;
    };
    const Key keys[] = {
        {SDLK_SPACE, KMOD_NONE, KeyCommand::Space},
        {SDLK_RETURN, KMOD_NONE, KeyCommand::Return},
        {SDLK_KP_ENTER, KMOD_NONE, KeyCommand::Return},
        {SDLK_TAB, KMOD_LSHIFT, KeyCommand::BackTab},
        {SDLK_PAGEDOWN, KMOD_NONE, KeyCommand::PageDown},
        {SDLK_UP, KMOD_NONE, KeyCommand::Up},
        {SDLK_HOME, KMOD_LSHIFT, KeyCommand::SelectHome},
        {SDLK_z, KMOD_LCTRL, KeyCommand::Undo},
        {SDLK_z, KMOD_LCTRL | KMOD_LSHIFT, KeyCommand::Redo},
        {SDLK_y, KMOD_RCTRL, KeyCommand::Redo},
        {SDLK_z, KMOD_NONE, std::nullopt}, // a letter: it comes as text
        {SDLK_q, KMOD_NONE, std::nullopt},
    };
    for (const auto& k : keys) {
        SDL_Keysym sym{};
        sym.sym = k.sym;
        sym.mod = k.mod;
        EXPECT_EQ(SdlEventRouter::keyCommandFor(sym), k.command) << SDL_GetKeyName(k.sym);
    }
    // Ctrl+Q quits, as the window's close does.
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_q;
    key.key.keysym.mod = KMOD_LCTRL;
    queue.push(key);
    EXPECT_EQ(queue.drain(router, clock.now()), SdlEventRouter::Outcome::Quit);
}
