#include "core/PictureInfo.h"

#include "core/PngCheck.h"

#include <cstdint>

namespace vestrino {

namespace {

unsigned byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        v = (v << 8) | byteAt(bytes, at + i);
    }
    return v;
}

std::optional<PictureInfo> jpegInfo(std::string_view bytes) {
    if (bytes.size() < 4 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) {
        return std::nullopt;
    }
    // Segments up to the first frame header (SOF0 to SOF15 but DHT, JPG and DAC, which share
    // the range): each is FF, its marker, a two-byte length that counts itself.
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (byteAt(bytes, at) != 0xFF) {
            return std::nullopt;
        }
        const unsigned marker = byteAt(bytes, at + 1);
        if (marker == 0xFF) {
            ++at; // fill bytes
            continue;
        }
        const std::size_t length = bigEndian(bytes, at + 2, 2);
        if (length < 2 || at + 2 + length > bytes.size()) {
            return std::nullopt;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8) {
                return std::nullopt;
            }
            const int height = static_cast<int>(bigEndian(bytes, at + 5, 2));
            const int width = static_cast<int>(bigEndian(bytes, at + 7, 2));
            if (width == 0 || height == 0) {
                return std::nullopt;
            }
            return PictureInfo{PictureInfo::Format::Jpeg, width, height};
        }
        if (marker == 0xDA || marker == 0xD9) {
            return std::nullopt; // image data or the end before any frame header
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

std::optional<PictureInfo> PictureInfo::of(std::string_view bytes) {
    if (isSoundPng(bytes)) {
        // The image header is the first chunk, right after the 8-byte signature.
        const auto width = bigEndian(bytes, 16, 4), height = bigEndian(bytes, 20, 4);
        if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
            return std::nullopt;
        }
        return PictureInfo{Format::Png, static_cast<int>(width), static_cast<int>(height)};
    }
    return jpegInfo(bytes);
}

} // namespace vestrino
