#pragma once

#include "core/Image.h"

#include <optional>
#include <string_view>

namespace vestrino::ui {

// What turns a picture file's bytes (PNG, JPEG) into pixels, nothing when they are no picture.
// The view layer links no decoder: the program hands it the backend's (SDL_image's, in ui/sdl)
// with UIImage::setDecoder.
using PictureDecoder = std::optional<Image> (*)(std::string_view bytes);

} // namespace vestrino::ui
