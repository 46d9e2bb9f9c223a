#pragma once

#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/Palette.h"
#include "ui/UIImage.h"

#include <string_view>

namespace vestrino::ui {

// Where views paint, in window points. The backend turns it into pixels (a window renderer or
// a software renderer over a surface for snapshots). Clips and opacities nest. Colours with a
// role and pictures with a dark version are painted as the palette in use has them.
class Canvas {
public:
    virtual ~Canvas() = default;

    // The palette the next frames are painted in (the light one until told).
    void setPalette(const Palette& palette) { palette_ = &palette; }
    const Palette& palette() const { return *palette_; }

    virtual void fillRect(const Rect& rect, const Color& color) = 0;
    // The part `source` (in image points) of the picture, drawn into `dest`.
    virtual void drawImage(const UIImage& image, const Rect& source, const Rect& dest) = 0;
    // One line of text whose top-left corner is `origin`.
    virtual void drawText(std::string_view text, const Font& font, const Color& color,
                          Point origin) = 0;
    virtual void pushClip(const Rect& rect) = 0;
    virtual void popClip() = 0;
    virtual void pushOpacity(double alpha) = 0;
    virtual void popOpacity() = 0;
    // Called before a frame is painted: no clip, full opacity.
    virtual void beginFrame() {}
    // Device pixels a point: where the edges of pieces drawn side by side are put on whole
    // pixels, so that no seam shows between them.
    virtual double pixelsPerPoint() const { return 1.0; }

    // A picture scaled into `dest`, stretching only the middle row and column of a
    // stretchable image (its caps keep their size).
    void drawImageStretched(const UIImage& image, const Rect& dest);
    // A rectangle with round corners (a radius of half the height gives round ends), filled,
    // or its outline `width` points wide; drawn a row of points at a time.
    void fillRoundedRect(const Rect& rect, double radius, const Color& color);
    void strokeRoundedRect(const Rect& rect, double radius, double width, const Color& color);

protected:
    // What the backend paints for a colour and for a picture in the palette in use.
    Color resolved(const Color& color) const { return palette_->resolve(color); }
    const UIImage& shown(const UIImage& image) const {
        return image.forAppearance(palette_->appearance());
    }

private:
    const Palette* palette_ = &Palette::light();
};

} // namespace vestrino::ui
