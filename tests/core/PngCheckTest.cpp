#include "core/PngCheck.h"
#include "core/Image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vestrino;

namespace {

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

// The launch check of the pictures, without decoding them: every way a file is found damaged
// (cut, garbled, padded, not a PNG) fails it; the application's own pictures pass, and each of
// them also decodes (the check says nothing the decoder would deny).
TEST(PngCheck, WholeFilesPassDamagedOnesFail) {
    const auto folder = std::filesystem::path(VESTRINO_SOURCE_DIR) / "resources" / "images";
    std::size_t checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") {
            const std::string bytes = slurp(entry.path());
            EXPECT_TRUE(isSoundPng(bytes)) << entry.path();
            EXPECT_TRUE(Image::fromData(bytes).has_value()) << entry.path();
            ++checked;
        }
    }
    EXPECT_GT(checked, 70u);

    const std::string good = slurp(folder / "vestrino_card_lumacard_320.png");
    ASSERT_GT(good.size(), 200u);
    auto flipped = [&](std::size_t at) {
        std::string b = good;
        b[at] = static_cast<char>(b[at] ^ 0x20);
        return b;
    };
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case damaged[] = {
        {"empty", ""},
        {"the signature only", good.substr(0, 8)},
        {"cut in the header", good.substr(0, 20)},
        {"cut in the image data", good.substr(0, good.size() / 2)},
        {"no end chunk", good.substr(0, good.size() - 12)},
        {"a byte of the image data changed", flipped(good.size() / 2)},
        {"a byte of the header changed", flipped(17)},
        {"bytes after the end", good + "xx"},
        {"another file type", "GIF89a" + good.substr(6)},
        {"text", "not a picture"},
    };
    for (const auto& c : damaged) {
        EXPECT_FALSE(isSoundPng(c.bytes)) << c.name;
    }
}
