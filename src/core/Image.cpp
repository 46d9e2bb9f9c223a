#include "core/Image.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <cstring>
#include <memory>

namespace vestrino {

namespace {
struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, SurfaceFree>;
} // namespace

std::optional<Image> Image::fromData(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > 64u * 1024 * 1024) {
        return std::nullopt;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) {
        return std::nullopt;
    }
    Surface loaded(IMG_Load_RW(rw, 1));
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

bool Image::writePng(const std::filesystem::path& path) const {
    if (width <= 0 || height <= 0) {
        return false;
    }
    Surface s(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgba.data()), width,
                                                 height, 32, width * 4, SDL_PIXELFORMAT_ABGR8888));
    return s && IMG_SavePNG(s.get(), path.c_str()) == 0;
}

} // namespace vestrino
