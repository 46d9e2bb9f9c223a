#pragma once

#include "ui/KeyCommand.h"
#include "ui/Screen.h"
#include "ui/UIApplication.h"

#include <SDL2/SDL_keyboard.h>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

// The screen in a desktop window: 320 × 480 points (× scale for HiDPI), vsync, the mouse as
// the one finger. It sleeps until the next event or timer when nothing moves, wakes when work
// is posted to the main queue from another thread, and quits when the window is closed (the
// window manager's close, or Ctrl+Q). Its events reach the window through SdlEventRouter; Ctrl+V
// pastes from the desktop's clipboard.
class SdlHost {
public:
    // `scale` is the one asked for when `scaleAsked`, else the desktop's factor is used; either
    // is lowered to what fits the screen.
    SdlHost(std::shared_ptr<Window> window, double scale, bool scaleAsked, std::string title,
            std::optional<Image> icon = std::nullopt);
    ~SdlHost();
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    // Runs until the window closes; false when SDL cannot open a window (the reason in error).
    bool run(std::string& error);

    // The host for UIApplicationMain: a window with the options' scale and title.
    static bool show(const std::shared_ptr<Window>& window, const LaunchOptions& options,
                     std::string& error);

private:
    std::shared_ptr<Window> window_;
    double scale_;
    bool scaleAsked_;
    std::string title_;
    std::optional<Image> icon_;
};

} // namespace vestrino::ui
