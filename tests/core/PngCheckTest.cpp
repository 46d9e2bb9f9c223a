#include "core/PngCheck.h"
#include "core/PictureInfo.h"
#include "ui/sdl/PictureCodec.h"

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
            EXPECT_TRUE(ui::PictureCodec::decode(bytes).has_value()) << entry.path();
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

// What a picture is, from its headers: the service's banner is told from an error page this
// way, and the terminal client says what it saved.
TEST(PictureInfo, PngAndJpegSizesWithoutDecoding) {
    const auto folder = std::filesystem::path(VESTRINO_SOURCE_DIR) / "resources" / "images";
    const std::string png = slurp(folder / "vestrino_card_lumacard_320.png");
    const auto decoded = ui::PictureCodec::decode(png);
    ASSERT_TRUE(decoded);
    // A JPEG's segments: start, an APP0 header, a Huffman table (same marker range as the
    // frame headers, skipped), then the frame header with height 480 and width 320.
    const std::string app0("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    const std::string dht("\xFF\xC4\x00\x04\x00\x00", 6);
    const std::string sof("\x08\x01\xE0\x01\x40\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 15);
    const std::string soi("\xFF\xD8", 2), sos("\xFF\xDA\x00\x02", 4);
    const auto frame = [&](char marker) {
        return std::string("\xFF", 1) + marker + std::string("\x00\x11", 2) + sof;
    };
    struct Case {
        std::string name, bytes;
        std::optional<PictureInfo::Format> format;
        int width, height;
    };
    const Case cases[] = {
        {"a PNG", png, PictureInfo::Format::Png, decoded->width, decoded->height},
        {"a PNG cut short", png.substr(0, png.size() - 20), std::nullopt, 0, 0},
        {"a baseline JPEG", soi + app0 + dht + frame('\xC0') + sos, PictureInfo::Format::Jpeg, 320,
         480},
        {"a progressive JPEG", soi + app0 + frame('\xC2') + sos, PictureInfo::Format::Jpeg, 320,
         480},
        {"a JPEG with no frame header", soi + app0 + sos, std::nullopt, 0, 0},
        {"a JPEG cut in its header", soi + app0.substr(0, 9), std::nullopt, 0, 0},
        {"an error page", "<html><body>Errore</body></html>", std::nullopt, 0, 0},
        {"nothing", "", std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto info = PictureInfo::of(c.bytes);
        ASSERT_EQ(info.has_value(), c.format.has_value());
        if (info) {
            EXPECT_EQ(info->format, *c.format);
            EXPECT_EQ(info->width, c.width);
            EXPECT_EQ(info->height, c.height);
        }
    }
}
