#pragma once

#include <cstdint>
#include <vector>

namespace vestrino {

// A decoded picture: width × height pixels, 8-bit RGBA, rows top to bottom. What the view
// layer decodes files into and draws.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
};

} // namespace vestrino
