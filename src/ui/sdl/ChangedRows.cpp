#include "ui/sdl/ChangedRows.h"

#include <cstring>

namespace vestrino::ui {

namespace {

// A row's hash, eight bytes at a time (a frame's rows are whole pixels of four bytes; the rest,
// if any, byte by byte). Not for security: two different rows with one hash would leave a row
// stale until the next change, about one chance in 2^64.
std::uint64_t rowHash(const std::uint8_t* row, std::size_t bytes) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes;
    std::size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, row + i, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    for (; i < bytes; ++i) {
        h = (h ^ row[i]) * 0x100000001B3ull;
    }
    return h;
}

} // namespace

std::vector<ChangedRows::Band> ChangedRows::update(const std::uint8_t* pixels, int height,
                                                   std::size_t rowBytes, std::size_t pitch,
                                                   int joinGap) {
    const auto rows = static_cast<std::size_t>(height > 0 ? height : 0);
    const bool whole = hashes_.size() != rows || rowBytes_ != rowBytes;
    hashes_.resize(rows);
    rowBytes_ = rowBytes;
    std::vector<Band> bands;
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint64_t h = rowHash(pixels + y * pitch, rowBytes);
        if (!whole && h == hashes_[y]) {
            continue;
        }
        hashes_[y] = h;
        const int row = static_cast<int>(y);
        if (!bands.empty() && row - (bands.back().top + bands.back().height) <= joinGap) {
            bands.back().height = row + 1 - bands.back().top;
        } else {
            bands.push_back({row, 1});
        }
    }
    return bands;
}

} // namespace vestrino::ui
