#pragma once

#include "ui/Screen.h"
#include "ui/sdl/SdlCanvas.h"
#include "ui/sdl/SdlFonts.h"

#include <SDL2/SDL.h>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

namespace vestrino::ui {

// The screen without a display: the same painter on a software renderer over a 320 × 480
// (× scale) surface, on the run loop's virtual clock. Snapshots are the PNG of the surface and
// the view tree as JSON.
class HeadlessScreen {
public:
    explicit HeadlessScreen(std::shared_ptr<Window> window, double scale = 1.0);
    ~HeadlessScreen();
    HeadlessScreen(const HeadlessScreen&) = delete;
    HeadlessScreen& operator=(const HeadlessScreen&) = delete;

    Screen& screen() { return screen_; }
    // Paints a frame if anything changed; true while something moves.
    bool tick(TimePoint now);
    // Paints whatever the state, then writes NAME.png and NAME.json into the folder.
    bool snapshot(const std::filesystem::path& folder, const std::string& name,
                  const nlohmann::ordered_json& extra = {});
    nlohmann::ordered_json describe() const;
    SDL_Surface* surface() const { return surface_; }
    const SdlCanvas& canvas() const { return *canvas_; }

private:
    Screen screen_;
    SdlFonts fonts_;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::unique_ptr<SdlCanvas> canvas_;
};

} // namespace vestrino::ui
