#include "core/Utf8.h"

#include <cstdint>
#include <cstring>

namespace vestrino {

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Skip plain ASCII eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ULL) {
                break;
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) <= extra) {
            return false;
        }
        for (std::size_t i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        p += extra + 1;
    }
    return true;
}

std::optional<std::string> utf8Text(std::string_view bytes) {
    if (!isValidUtf8(bytes)) {
        return std::nullopt;
    }
    return std::string(bytes);
}

std::size_t codePointCount(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

std::size_t byteOffsetOfCodePoint(std::string_view text, std::size_t index) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == index) {
                return i;
            }
            ++seen;
        }
    }
    return text.size();
}

std::string firstCodePoints(std::string_view text, std::size_t n) {
    return std::string(text.substr(0, byteOffsetOfCodePoint(text, n)));
}

std::string lastCodePoints(std::string_view text, std::size_t n) {
    const std::size_t count = codePointCount(text);
    return count <= n ? std::string(text)
                      : std::string(text.substr(byteOffsetOfCodePoint(text, count - n)));
}

} // namespace vestrino
