#pragma once

#include "core/Image.h"

namespace vestrino {

// Resizes a picture once with a Lanczos filter (three lobes), the way photo tools do: sharper
// than the linear filter a renderer applies while drawing, and without its aliasing when a
// picture is made smaller. Colours are weighed by their opacity (premultiplied), so that a
// transparent pixel's colour never bleeds into its neighbours.
class ImageResampler {
public:
    // The picture at width × height pixels (each at least 1); the picture itself when it
    // already has that size.
    static Image resized(const Image& source, int width, int height);
};

} // namespace vestrino
