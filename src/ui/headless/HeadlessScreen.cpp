#include "ui/headless/HeadlessScreen.h"

#include "core/RunLoop.h"
#include "ui/headless/SnapshotJson.h"

#include <SDL2/SDL_image.h>
#include <fstream>
#include <stdexcept>

namespace vestrino::ui {

HeadlessScreen::HeadlessScreen(std::shared_ptr<Window> window, double scale)
    : screen_(std::move(window)), fonts_(scale) {
    const Rect f = screen_.window()->frame();
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(f.width() * scale),
                                              static_cast<int>(f.height() * scale), 32,
                                              SDL_PIXELFORMAT_ABGR8888);
    renderer_ = surface_ ? SDL_CreateSoftwareRenderer(surface_) : nullptr;
    if (!renderer_) {
        throw std::runtime_error(std::string("no software renderer: ") + SDL_GetError());
    }
    canvas_ = std::make_unique<SdlCanvas>(renderer_, fonts_);
}

HeadlessScreen::~HeadlessScreen() {
    canvas_.reset();
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
}

bool HeadlessScreen::tick(TimePoint now) {
    const bool moving = screen_.tick(now, canvas_.get());
    SDL_RenderPresent(renderer_);
    canvas_->endFrame();
    return moving;
}

nlohmann::ordered_json HeadlessScreen::describe() const {
    return SnapshotJson::tree(*screen_.window());
}

bool HeadlessScreen::snapshot(const std::filesystem::path& folder, const std::string& name,
                              const nlohmann::ordered_json& extra) {
    screen_.window()->markDirty();
    tick(RunLoop::main().clock().now());
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (IMG_SavePNG(surface_, (folder / (name + ".png")).c_str()) != 0) {
        return false;
    }
    nlohmann::ordered_json doc = extra.is_object() ? extra : nlohmann::ordered_json::object();
    doc["window"] = describe();
    std::ofstream out(folder / (name + ".json"));
    out << doc.dump(1) << '\n';
    return static_cast<bool>(out);
}

} // namespace vestrino::ui
