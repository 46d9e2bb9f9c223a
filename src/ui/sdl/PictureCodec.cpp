#include "ui/sdl/PictureCodec.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <cstring>
#include <memory>
#include <mutex>

namespace vestrino::ui {

namespace {
struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;
} // namespace

std::optional<Image> PictureCodec::decode(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > 64u * 1024 * 1024) {
        return std::nullopt;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) {
        return std::nullopt;
    }
    // Pictures are decoded on the main thread and on workers (the banner): SDL_image starts
    // its decoders on first use, which is not safe from two threads at once.
    static std::mutex decoding;
    std::unique_lock lock(decoding);
    Surface loaded(IMG_Load_RW(rw, 1));
    lock.unlock();
    if (!loaded) {
        return std::nullopt;
    }
    Surface rgba(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ABGR8888, 0));
    if (!rgba || rgba->w <= 0 || rgba->h <= 0) {
        return std::nullopt;
    }
    Image image;
    image.width = rgba->w;
    image.height = rgba->h;
    image.rgba.resize(static_cast<std::size_t>(rgba->w) * rgba->h * 4);
    for (int y = 0; y < rgba->h; ++y) {
        std::memcpy(image.rgba.data() + static_cast<std::size_t>(y) * rgba->w * 4,
                    static_cast<const std::uint8_t*>(rgba->pixels) + y * rgba->pitch,
                    static_cast<std::size_t>(rgba->w) * 4);
    }
    return image;
}

bool PictureCodec::writePng(const Image& image, const std::filesystem::path& path) {
    if (image.width <= 0 || image.height <= 0) {
        return false;
    }
    Surface s(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.rgba.data()),
                                                 image.width, image.height, 32, image.width * 4,
                                                 SDL_PIXELFORMAT_ABGR8888));
    return s && IMG_SavePNG(s.get(), path.c_str()) == 0;
}

} // namespace vestrino::ui
