#include "ui/sdl/ChangedRows.h"

#include <gtest/gtest.h>

using namespace vestrino::ui;

namespace {

// A frame of 40 rows of 16 bytes, with padding up to a pitch of 20 that is never compared.
struct Frame {
    static constexpr int kRows = 40;
    static constexpr std::size_t kRowBytes = 16, kPitch = 20;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(kRows * kPitch, 0);
    void touch(int row) { bytes[static_cast<std::size_t>(row) * kPitch + 5] ^= 0xFF; }
    void touchPadding(int row) { bytes[static_cast<std::size_t>(row) * kPitch + 17] ^= 0xFF; }
};

std::vector<std::pair<int, int>> bands(ChangedRows& changed, const Frame& f,
                                       int rows = Frame::kRows) {
    std::vector<std::pair<int, int>> out;
    for (const auto& b : changed.update(f.bytes.data(), rows, Frame::kRowBytes, Frame::kPitch)) {
        out.emplace_back(b.top, b.height);
    }
    return out;
}

} // namespace

// Only the rows that changed go to the window, in runs (near ones joined); everything after an
// exposure or a change of size; nothing when nothing changed.
TEST(ChangedRows, SendsOnlyTheRowsThatChanged) {
    ChangedRows changed;
    Frame frame;
    struct Step {
        const char* name;
        std::vector<int> touched;
        bool padding = false;
        bool invalidate = false;
        std::vector<std::pair<int, int>> expected;
    };
    const Step steps[] = {
        {"the first frame whole", {}, false, false, {{0, 40}}},
        {"the same frame: nothing", {}, false, false, {}},
        {"one row", {3}, false, false, {{3, 1}}},
        {"two rows close together: one run", {3, 9}, false, false, {{3, 7}}},
        {"two rows far apart: two runs", {2, 30}, false, false, {{2, 1}, {30, 1}}},
        {"the last row", {39}, false, false, {{39, 1}}},
        {"past the row's pixels: nothing", {}, true, false, {}},
        {"exposed: whole again", {}, false, true, {{0, 40}}},
    };
    for (const auto& step : steps) {
        for (const int row : step.touched) {
            frame.touch(row);
        }
        if (step.padding) {
            frame.touchPadding(7);
        }
        if (step.invalidate) {
            changed.invalidate();
        }
        EXPECT_EQ(bands(changed, frame), step.expected) << step.name;
    }
    // A smaller surface (the window made anew): all of it.
    EXPECT_EQ(bands(changed, frame, 20), (std::vector<std::pair<int, int>>{{0, 20}}));
}
