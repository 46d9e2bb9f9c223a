#pragma once

#include "core/Image.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace vestrino::ui {

// Pictures in and out of files, through SDL_image: the view layer's pictures (handed to
// UIImage as its decoder), the service's banner and the window's icon are decoded here; tests
// write PNG files with it.
class PictureCodec {
public:
    // The pixels of PNG or JPEG bytes; nothing when they are no picture.
    static std::optional<Image> decode(std::string_view bytes);
    static bool writePng(const Image& image, const std::filesystem::path& path);
};

} // namespace vestrino::ui
