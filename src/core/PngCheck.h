#pragma once

#include <string_view>

namespace vestrino {

// Whether the bytes are a whole, undamaged PNG file, without decoding it: the signature, an
// image header with a size, every chunk's CRC, image data, and the end chunk last. A file cut
// short, overwritten or garbled in transit fails; checking all the application's pictures this
// way at launch costs a small part of decoding them.
bool isSoundPng(std::string_view bytes);

} // namespace vestrino
