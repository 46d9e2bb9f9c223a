#pragma once

#include "ui/Canvas.h"
#include "ui/sdl/SdlFonts.h"

#include <SDL2/SDL.h>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace vestrino::ui {

// The painter over an SDL renderer: a window's, or a software renderer over a surface for
// snapshots (the same pixels). Points are multiplied by the scale; pictures and text become
// textures kept between frames.
class SdlCanvas : public Canvas {
public:
    SdlCanvas(SDL_Renderer* renderer, SdlFonts& fonts);
    ~SdlCanvas() override;
    SdlCanvas(const SdlCanvas&) = delete;
    SdlCanvas& operator=(const SdlCanvas&) = delete;

    void beginFrame() override;
    double pixelsPerPoint() const override { return scale_; }
    void fillRect(const Rect& rect, const Color& color) override;
    void drawImage(const UIImage& image, const Rect& source, const Rect& dest) override;
    void drawText(std::string_view text, const Font& font, const Color& color,
                  Point origin) override;
    void pushClip(const Rect& rect) override;
    void popClip() override;
    void pushOpacity(double alpha) override;
    void popOpacity() override;

    // Drops cached textures that were not drawn in the last frames (a frame ends here): text
    // after kTextFrames, pictures after kImageFrames. Pictures of screens that are gone, or
    // that a screen made anew, are thus let go.
    void endFrame();

    static constexpr int kTextFrames = 120;
    static constexpr int kImageFrames = 600;

    // How many textures are kept (for tests and benchmarks).
    std::size_t cachedImageTextures() const { return images_.size(); }
    std::size_t cachedTextTextures() const { return texts_.size(); }

private:
    SDL_FRect scaled(const Rect& r) const;
    void applyClip();
    SDL_Texture* imageTexture(const UIImage& image);

    SDL_Renderer* renderer_;
    SdlFonts& fonts_;
    double scale_;
    std::vector<Rect> clips_;
    std::vector<double> opacities_{1.0};
    struct TextureDeleter {
        void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    };
    using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;
    struct ImageTexture {
        TexturePtr texture;
        int age = 0; // frames since it was last drawn
    };
    std::map<std::uint64_t, ImageTexture> images_;
    struct TextTexture {
        TexturePtr texture;
        int w, h;
        int age;
    };
    std::map<std::tuple<std::string, std::string, double, std::uint32_t>, TextTexture> texts_;
};

} // namespace vestrino::ui
