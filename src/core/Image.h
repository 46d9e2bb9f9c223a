#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vestrino {

// A decoded picture: width × height pixels, 8-bit RGBA, rows top to bottom. What the service's
// banner becomes and what the view layer draws.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    // Decodes PNG or JPEG bytes (any format SDL_image reads); nothing when they are no image.
    static std::optional<Image> fromData(std::string_view bytes);
    bool writePng(const std::filesystem::path& path) const;
};

} // namespace vestrino
