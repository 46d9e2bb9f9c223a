#include "ui/sdl/SdlCanvas.h"

#include <cmath>

namespace vestrino::ui {

namespace {
Uint8 byte(double v) {
    return static_cast<Uint8>(std::clamp(std::lround(v * 255), 0L, 255L));
}
} // namespace

SdlCanvas::SdlCanvas(SDL_Renderer* renderer, SdlFonts& fonts)
    : renderer_(renderer), fonts_(fonts), scale_(fonts.scale()) {}

SdlCanvas::~SdlCanvas() = default;

SDL_FRect SdlCanvas::scaled(const Rect& r) const {
    return {static_cast<float>(r.minX() * scale_), static_cast<float>(r.minY() * scale_),
            static_cast<float>(r.width() * scale_), static_cast<float>(r.height() * scale_)};
}

void SdlCanvas::beginFrame() {
    // The window paints its own background over the whole frame: no clear needed.
    clips_.clear();
    opacities_.assign(1, 1.0);
    SDL_RenderSetClipRect(renderer_, nullptr);
}

void SdlCanvas::fillRect(const Rect& rect, const Color& color) {
    const Color c = resolved(color);
    const Uint8 alpha = byte(c.a * opacities_.back());
    // An opaque fill replaces what is under it: the same pixels as blending, without the
    // per-pixel blend (the software renderer fills whole screens of background this way).
    SDL_SetRenderDrawBlendMode(renderer_, alpha == 255 ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer_, byte(c.r), byte(c.g), byte(c.b), alpha);
    const SDL_FRect r = scaled(rect);
    SDL_RenderFillRectF(renderer_, &r);
}

SDL_Texture* SdlCanvas::imageTexture(const UIImage& image) {
    if (const auto it = images_.find(image.identity()); it != images_.end()) {
        it->second.age = 0;
        return it->second.texture.get();
    }
    const Image& px = image.pixels();
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(px.rgba.data()), px.width,
                                           px.height, 32, px.width * 4, SDL_PIXELFORMAT_ABGR8888);
    SDL_Texture* t = s ? SDL_CreateTextureFromSurface(renderer_, s) : nullptr;
    SDL_FreeSurface(s);
    if (t) {
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        // Scaled pictures are filtered smoothly, the same in the window and headless (the
        // software renderer honours the texture's scale mode too).
        SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
        images_[image.identity()] = ImageTexture{TexturePtr(t), 0};
    }
    return t;
}

void SdlCanvas::drawImage(const UIImage& picture, const Rect& source, const Rect& dest) {
    const UIImage& image = shown(picture);
    SDL_Texture* t = imageTexture(image);
    if (!t) {
        return;
    }
    const double s = image.scale();
    const SDL_Rect src{static_cast<int>(std::lround(source.minX() * s)),
                       static_cast<int>(std::lround(source.minY() * s)),
                       static_cast<int>(std::lround(source.width() * s)),
                       static_cast<int>(std::lround(source.height() * s))};
    const SDL_FRect dst = scaled(dest);
    SDL_SetTextureAlphaMod(t, byte(opacities_.back()));
    SDL_RenderCopyF(renderer_, t, &src, &dst);
}

void SdlCanvas::drawText(std::string_view text, const Font& font, const Color& color,
                         Point origin) {
    const Color c = resolved(color);
    if (text.empty()) {
        return;
    }
    const std::uint32_t rgba = (std::uint32_t{byte(c.r)} << 24) | (std::uint32_t{byte(c.g)} << 16) |
                               (std::uint32_t{byte(c.b)} << 8) | byte(c.a);
    const auto key = std::make_tuple(std::string(text), font.name, font.size, rgba);
    auto it = texts_.find(key);
    if (it == texts_.end()) {
        TTF_Font* f = fonts_.ttf(font);
        if (!f) {
            return;
        }
        SDL_Surface* s = TTF_RenderUTF8_Blended(
            f, std::get<0>(key).c_str(), SDL_Color{byte(c.r), byte(c.g), byte(c.b), byte(c.a)});
        if (!s) {
            return;
        }
        SDL_Texture* t = SDL_CreateTextureFromSurface(renderer_, s);
        const int w = s->w, h = s->h;
        SDL_FreeSurface(s);
        if (!t) {
            return;
        }
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        it = texts_.emplace(key, TextTexture{TexturePtr(t), w, h, 0}).first;
    }
    it->second.age = 0;
    SDL_SetTextureAlphaMod(it->second.texture.get(), byte(opacities_.back()));
    const SDL_FRect dst{static_cast<float>(std::round(origin.x * scale_)),
                        static_cast<float>(std::round(origin.y * scale_)),
                        static_cast<float>(it->second.w), static_cast<float>(it->second.h)};
    SDL_RenderCopyF(renderer_, it->second.texture.get(), nullptr, &dst);
}

void SdlCanvas::applyClip() {
    if (clips_.empty()) {
        SDL_RenderSetClipRect(renderer_, nullptr);
        return;
    }
    const Rect& c = clips_.back();
    const int x0 = static_cast<int>(std::floor(c.minX() * scale_));
    const int y0 = static_cast<int>(std::floor(c.minY() * scale_));
    const int x1 = static_cast<int>(std::ceil(c.maxX() * scale_));
    const int y1 = static_cast<int>(std::ceil(c.maxY() * scale_));
    // An empty clip must clip everything: SDL takes a 0 × 0 rectangle as "no clip".
    const SDL_Rect r{x0, y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
    const SDL_Rect nothing{-10, -10, 1, 1};
    SDL_RenderSetClipRect(renderer_, c.isEmpty() ? &nothing : &r);
}

void SdlCanvas::pushClip(const Rect& rect) {
    clips_.push_back(clips_.empty() ? rect : clips_.back().intersection(rect));
    applyClip();
}

void SdlCanvas::popClip() {
    if (!clips_.empty()) {
        clips_.pop_back();
    }
    applyClip();
}

void SdlCanvas::pushOpacity(double alpha) {
    opacities_.push_back(opacities_.back() * alpha);
}

void SdlCanvas::popOpacity() {
    if (opacities_.size() > 1) {
        opacities_.pop_back();
    }
}

namespace {
template <typename Map> void evictOlderThan(Map& textures, int frames) {
    for (auto it = textures.begin(); it != textures.end();) {
        it = ++it->second.age > frames ? textures.erase(it) : std::next(it);
    }
}
} // namespace

void SdlCanvas::endFrame() {
    evictOlderThan(texts_, kTextFrames);
    evictOlderThan(images_, kImageFrames);
}

} // namespace vestrino::ui
