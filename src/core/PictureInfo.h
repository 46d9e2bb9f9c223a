#pragma once

#include <optional>
#include <string_view>

namespace vestrino {

// What a picture file is, read from its headers without decoding it: a whole PNG (every
// chunk's CRC checked) or a JPEG with a frame header, and its size in pixels. Enough for the
// service to tell a picture from an error page and for the terminal client to say what it
// saved; decoding is the view layer's.
struct PictureInfo {
    enum class Format { Png, Jpeg };
    Format format = Format::Png;
    int width = 0;
    int height = 0;

    static std::optional<PictureInfo> of(std::string_view bytes);
};

} // namespace vestrino
