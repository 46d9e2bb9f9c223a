#pragma once

#include "ui/KeyCommand.h"
#include "ui/Screen.h"
#include "ui/UIApplication.h"

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_keyboard.h>
#include <SDL2/SDL_render.h>
#include <SDL2/SDL_video.h>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

class AssistiveTechnology;
class ChangedRows;
class SdlEventRouter;

// The screen in a desktop window: 320 × 480 points or taller (× a scale that fits the display),
// frames painted in software and handed to the window's surface, the mouse or one finger as the
// touch. When nothing moves it sleeps until the next event or timer, looking at the main queue
// every 250 ms (every 10 ms while a background task runs), and it quits when the window is closed
// (the window manager's close, Ctrl+Q, SIGTERM). Its events reach the window through
// SdlEventRouter; Ctrl+V pastes from the desktop's clipboard.
class SdlHost {
public:
    // `scale` is the one asked for when `scaleAsked`, else the desktop's factor is used; either
    // is lowered to what fits the screen. `zoom` is the device's points a layout point (a screen
    // wider than 320 points shows the layout scaled to its width): the window paints at the
    // scale times the zoom.
    SdlHost(std::shared_ptr<Window> window, double scale, bool scaleAsked, std::string title,
            std::optional<Image> icon = std::nullopt, double zoom = 1.0);
    ~SdlHost();
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // Runs until the window closes; false when SDL cannot open a window (the reason in error).
    bool run(std::string& error);

private:
    class LoopWaker;
    struct WindowFree {
        void operator()(SDL_Window* w) const;
    };
    struct RendererFree {
        void operator()(SDL_Renderer* r) const;
    };

    static void setHints();
    // The window at the scale that fits the display, its icon and its renderer.
    bool openWindow(std::string& error);
    void setIcon();
    // Events, the screens' timers and frames until the window is closed.
    void loop();
    // How long the loop may wait for an event, in milliseconds.
    int waitTimeout(bool moving, std::chrono::steady_clock::time_point lastFrame) const;
    // Hands this event and those queued behind it to the window; true when one is a quit.
    bool dispatch(SDL_Event& e, SdlEventRouter& router, ChangedRows& changedRows);
    void syncTextInput();
    void logFirstFrame() const;
    std::unique_ptr<AssistiveTechnology>
    startAccessibility(const std::shared_ptr<LoopWaker>& waker);
    void closeWindow();

    std::shared_ptr<Window> window_;
    double scale_;
    bool scaleAsked_;
    double zoom_;
    std::string title_;
    std::optional<Image> icon_;
    std::unique_ptr<SDL_Window, WindowFree> sdlWindow_;
    std::unique_ptr<SDL_Renderer, RendererFree> renderer_;
    bool paced_ = false; // the accelerated renderer presents, paced by vsync
};

} // namespace vestrino::ui
