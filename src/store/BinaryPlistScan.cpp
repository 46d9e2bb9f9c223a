#include "store/BinaryPlistScan.h"

#include <cstdint>

namespace vestrino {

namespace {

std::uint64_t bigEndian(const unsigned char* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        v = (v << 8) | p[i];
    }
    return v;
}

} // namespace

bool binaryPlistIsSafeToRead(std::string_view bytes) {
    constexpr std::size_t kHeader = 8, kTrailer = 32;
    if (bytes.size() < kHeader + kTrailer || bytes.substr(0, 6) != "bplist") {
        return false;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    const unsigned char* trailer = data + size - kTrailer;
    const std::size_t offsetSize = trailer[6];
    const std::uint64_t count = bigEndian(trailer + 8, 8);
    const std::uint64_t tableOffset = bigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || count == 0 || tableOffset >= size ||
        count > (size - tableOffset) / offsetSize) {
        return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t at = bigEndian(data + tableOffset + i * offsetSize, offsetSize);
        if (at < kHeader || at >= tableOffset) {
            return false;
        }
        const unsigned char marker = data[at];
        const unsigned kind = marker >> 4;
        if (kind != 0x5 && kind != 0x6) {
            continue; // not a string
        }
        std::uint64_t length = marker & 0x0F;
        std::uint64_t start = at + 1;
        if (length == 0x0F) {
            // The length follows as an integer object: marker 0x1N, 2^N bytes.
            if (start >= tableOffset || (data[start] >> 4) != 0x1 || (data[start] & 0x0F) > 3) {
                return false;
            }
            const std::size_t n = std::size_t{1} << (data[start] & 0x0F);
            if (start + 1 + n > tableOffset) {
                return false;
            }
            length = bigEndian(data + start + 1, n);
            start += 1 + n;
        }
        const std::uint64_t unit = kind == 0x6 ? 2 : 1;
        if (length > (tableOffset - start) / unit) {
            return false;
        }
        for (std::uint64_t k = 0; k < length; ++k) {
            const unsigned char* c = data + start + k * unit;
            if (c[0] == 0 && (unit == 1 || c[1] == 0)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace vestrino
