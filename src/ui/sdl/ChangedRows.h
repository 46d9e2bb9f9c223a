#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vestrino::ui {

// Which rows of a frame differ from the frame shown before, so that only those go to the
// window (a caret's blink or a spinner's turn changes a few rows, not the screen). Each row is
// remembered by a hash, not a copy: eight bytes a row instead of the frame itself.
class ChangedRows {
public:
    struct Band {
        int top = 0;
        int height = 0;
    };

    // The runs of rows of this frame (`height` rows of `rowBytes` bytes, `pitch` apart) that
    // changed since the last call; every row when the size changed or after `invalidate()`.
    // Runs closer than `joinGap` rows are joined (one update costs more than a few rows).
    std::vector<Band> update(const std::uint8_t* pixels, int height, std::size_t rowBytes,
                             std::size_t pitch, int joinGap = 8);
    // The next frame is sent whole (the window was exposed, or its surface made anew).
    void invalidate() { hashes_.clear(); }

private:
    std::vector<std::uint64_t> hashes_;
    std::size_t rowBytes_ = 0;
};

} // namespace vestrino::ui
