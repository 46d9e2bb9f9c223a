#include "core/PngCheck.h"

#include <array>
#include <cstdint>

namespace vestrino {

namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};

// The CRC-32 of PNG chunks (ISO 3309, the one zlib computes), by table.
constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

std::uint32_t crc32(std::string_view bytes) {
    static constexpr auto kTable = makeCrcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        c = kTable[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t bigEndian(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return v;
}

} // namespace

bool isSoundPng(std::string_view bytes) {
    if (bytes.substr(0, kSignature.size()) != kSignature) {
        return false;
    }
    std::size_t at = kSignature.size();
    bool header = false, data = false;
    while (at + 12 <= bytes.size()) {
        const std::uint32_t length = bigEndian(bytes, at);
        if (length > bytes.size() - at - 12) {
            return false; // the chunk runs past the end: cut short
        }
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::string_view typeAndData = bytes.substr(at + 4, 4 + length);
        if (crc32(typeAndData) != bigEndian(bytes, at + 8 + length)) {
            return false;
        }
        if (!header) {
            // The image header comes first and gives a size.
            if (type != "IHDR" || length != 13 || bigEndian(bytes, at + 8) == 0 ||
                bigEndian(bytes, at + 12) == 0) {
                return false;
            }
            header = true;
        } else if (type == "IDAT") {
            data = true;
        } else if (type == "IEND") {
            return data && at + 12 + length == bytes.size();
        }
        at += 12 + length;
    }
    return false; // no end chunk
}

} // namespace vestrino
