#pragma once

#include "core/Image.h"
#include "ui/Appearance.h"
#include "ui/Geometry.h"
#include "ui/PictureDecoder.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace vestrino::ui {

// A picture the views draw: decoded pixels with a size in points (pixels / scale), and the caps
// of a stretchable image (the left and top parts that keep their size).
class UIImage {
public:
    UIImage(Image pixels, double scale = 1.0);

    // A resource image by name, from the image folder, cached (nothing when it is missing).
    static std::shared_ptr<UIImage> imageNamed(const std::string& name);
    // From encoded bytes (PNG, JPEG); nothing when they are no picture.
    static std::shared_ptr<UIImage> initWithData(std::string_view bytes);
    static void setResourceFolder(std::filesystem::path folder);
    // How pictures are decoded (until it is set, nothing decodes).
    static void setDecoder(PictureDecoder decoder);
    static void clearCache();
    // On a screen of more than one pixel a point, `imageNamed("x.png")` takes the picture drawn
    // at two pixels a point, "x@2x.png", when the folder has one that decodes.
    static void setPreferredScale(double pixelsPerPoint);
    // Pictures that carry words have a version per language in a folder of its name ("en/"),
    // taken first when that language is in force ("" for the pictures' own, Italian).
    static void setLanguageFolder(std::string language);
    // Pictures that carry the light look have a dark version in "dark/" (with its own "en/"),
    // loaded with the picture and painted in the dark palette.
    static constexpr const char* kDarkFolder = "dark";
    // The name of a picture's two-pixels-a-point version: "x_320.png" -> "x_320@2x.png".
    static std::string highResolutionName(const std::string& name);

    std::shared_ptr<UIImage> stretchableImage(int leftCapWidth, int topCapHeight) const;
    // The picture painted in the look: its dark version in the dark one, when it has one.
    const UIImage& forAppearance(Appearance appearance) const {
        return appearance == Appearance::Dark && dark_ ? *dark_ : *this;
    }
    bool hasDarkVersion() const { return dark_ != nullptr; }
    // The part of the picture that shows (pixels not wholly transparent), in points from its
    // top-left corner: a card drawn with a margin round it has its ring round the card.
    Rect opaqueBounds() const;

    Size size() const { return {pixels_->width / scale_, pixels_->height / scale_}; }
    const Image& pixels() const { return *pixels_; }
    double scale() const { return scale_; }
    int leftCapWidth() const { return leftCap_; }
    int topCapHeight() const { return topCap_; }
    bool stretchable() const { return leftCap_ > 0 || topCap_ > 0; }
    // A number no other pixels of the run have: the backend's texture cache key. A stretchable
    // image shares its original's pixels, and so its number and its texture.
    std::uint64_t identity() const { return identity_; }

    const std::string& name() const { return name_; }

private:
    std::shared_ptr<const Image> pixels_;
    double scale_;
    int leftCap_ = 0;
    int topCap_ = 0;
    std::string name_;
    std::uint64_t identity_;
    std::shared_ptr<UIImage> dark_;
    mutable std::optional<Rect> opaqueBounds_;
};

using UIImagePtr = std::shared_ptr<UIImage>;

} // namespace vestrino::ui
