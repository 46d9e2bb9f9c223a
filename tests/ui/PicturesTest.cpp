#include "StandinFixture.h"
#include "core/ImageResampler.h"
#include "ui/ImageView.h"
#include "ui/sdl/PictureCodec.h"
#include "ui/UIImage.h"
#include "ui/UiTestSupport.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/SnapshotJson.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;
namespace fs = std::filesystem;

namespace {

// A picture of one colour.
Image solid(int w, int h, std::array<std::uint8_t, 4> rgba) {
    Image im{w, h, {}};
    for (int i = 0; i < w * h; ++i) {
        im.rgba.insert(im.rgba.end(), rgba.begin(), rgba.end());
    }
    return im;
}

std::array<int, 3> rgb(SDL_Surface* s, int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch + x * 4;
    return {p[0], p[1], p[2]};
}

constexpr std::array<int, 3> kRed{255, 0, 0};
constexpr std::array<int, 3> kWhite{255, 255, 255};

} // namespace

// A picture keeps its shape in the aspect modes: fitted inside its view (the rest of the view
// shows what is behind), or covering it with the overflow cut at the view's edge; the pixels
// painted say so, and the snapshot gives the same rectangle.
TEST(Pictures, AspectModesKeepTheShapeInPixels) {
    struct Case {
        const char* name;
        int pw, ph; // the picture
        ContentMode mode;
        Rect drawn;        // in the view's points
        const char* red;   // window points "x,y" painted red
        const char* white; // and those left white
    };
    // The view is at (10, 20), 100 × 50 points, on a white window.
    const Case cases[] = {
        {"wide picture fitted", 40, 10, ContentMode::AspectFit, makeRect(0, 12.5, 100, 25),
         "60,45 11,45", "60,30 60,60"},
        {"tall picture fitted", 10, 40, ContentMode::AspectFit, makeRect(43.75, 0, 12.5, 50),
         "60,45", "50,45 70,45"},
        {"tall picture filling", 10, 40, ContentMode::AspectFill, makeRect(0, -175, 100, 400),
         "11,21 109,69", "60,19 60,71"},
        {"wide picture filling", 40, 10, ContentMode::AspectFill, makeRect(-50, 0, 200, 50),
         "11,45 108,45", "8,45 112,45"},
        {"stretched", 40, 10, ContentMode::ScaleToFill, makeRect(0, 0, 100, 50), "11,21 109,69",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::UiClock clock;
        auto window = std::make_shared<Window>();
        window->setBackgroundColor(Color::white());
        HeadlessScreen headless(window);
        auto view = std::make_shared<ImageView>(
            std::make_shared<UIImage>(solid(c.pw, c.ph, {255, 0, 0, 255})));
        view->setFrame(makeRect(10, 20, 100, 50));
        view->setContentMode(c.mode);
        window->addSubview(view);
        headless.tick(clock.now());
        for (const bool red : {true, false}) {
            for (const auto& at : test::words(red ? c.red : c.white)) {
                int x = 0, y = 0;
                ASSERT_EQ(std::sscanf(at.c_str(), "%d,%d", &x, &y), 2) << at;
                EXPECT_EQ(rgb(headless.surface(), x, y), red ? kRed : kWhite) << at;
            }
        }
        const auto node = SnapshotJson::of(view->describeTree());
        EXPECT_EQ(node["drawnRect"], nlohmann::ordered_json({c.drawn.minX(), c.drawn.minY(),
                                                             c.drawn.width(), c.drawn.height()}));
    }
}

// On a screen of two pixels a point the sharper picture is taken when there is one that
// decodes; the size in points is the same, so nothing moves.
TEST(Pictures, TwoPixelsAPointOnHiDpiScreens) {
    const fs::path dir = test::StandinFixture::tempDir() / "hidpi";
    fs::create_directories(dir);
    ASSERT_TRUE(ui::PictureCodec::writePng(solid(6, 4, {255, 0, 0, 255}), dir / "a_320.png"));
    ASSERT_TRUE(ui::PictureCodec::writePng(solid(12, 8, {0, 0, 255, 255}), dir / "a_320@2x.png"));
    ASSERT_TRUE(ui::PictureCodec::writePng(solid(6, 4, {255, 0, 0, 255}), dir / "b_320.png"));
    std::ofstream(dir / "b_320@2x.png") << "not a picture";
    ASSERT_TRUE(ui::PictureCodec::writePng(solid(6, 4, {255, 0, 0, 255}), dir / "c_320.png"));
    struct Case {
        const char* name;
        double screen;
        int pixelsWide;
        double scale;
    };
    const Case cases[] = {
        {"a_320.png", 1, 6, 1},     {"a_320.png", 2, 12, 2}, {"a_320.png", 1.5, 12, 2},
        {"b_320.png", 2, 6, 1}, // a damaged sharper picture: the ordinary one
        {"c_320.png", 2, 6, 1}, // none: the ordinary one
        {"a_320@2x.png", 1, 12, 2},
    };
    UIImage::setResourceFolder(dir);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.screen));
        UIImage::setPreferredScale(c.screen);
        const auto image = UIImage::imageNamed(c.name);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixels().width, c.pixelsWide);
        EXPECT_EQ(image->scale(), c.scale);
        EXPECT_EQ(image->size(), (Size{6, 4}));
        EXPECT_EQ(image->name(), c.name);
    }
    UIImage::setPreferredScale(1);
    UIImage::setResourceFolder(fs::path(VESTRINO_SOURCE_DIR) / "resources" / "images");
}

// A picture resized once keeps a plain colour exactly, lets no colour of a transparent pixel
// bleed into its neighbours, and keeps an edge sharp where a linear filter would blur it.
TEST(Pictures, ResizedOnceWithAGoodFilter) {
    struct Case {
        const char* name;
        Image source;
        int width, height;
    };
    const Case plain[] = {
        {"larger", solid(7, 5, {12, 200, 99, 255}), 13, 9},
        {"smaller", solid(7, 5, {12, 200, 99, 255}), 3, 2},
        {"one pixel", solid(1, 1, {12, 200, 99, 255}), 4, 4},
        {"half transparent", solid(5, 5, {12, 200, 99, 128}), 11, 3},
    };
    for (const auto& c : plain) {
        SCOPED_TRACE(c.name);
        const Image out = ImageResampler::resized(c.source, c.width, c.height);
        ASSERT_EQ(out.width, c.width);
        ASSERT_EQ(out.height, c.height);
        for (std::size_t i = 0; i < out.rgba.size(); ++i) {
            EXPECT_NEAR(out.rgba[i], c.source.rgba[i % 4], 1) << "byte " << i;
        }
    }
    // Red beside a transparent green: nothing green anywhere.
    Image mixed{2, 1, {255, 0, 0, 255, 0, 255, 0, 0}};
    const Image wide = ImageResampler::resized(mixed, 8, 1);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(wide.rgba[x * 4 + 1], 0) << x;
    }
    // Black | white, doubled: the step between two neighbours is steeper than a linear filter
    // can make it (at most half the way, 127.5, at twice the size).
    Image edge = solid(8, 1, {0, 0, 0, 255});
    for (int x = 4; x < 8; ++x) {
        edge.rgba[x * 4] = edge.rgba[x * 4 + 1] = edge.rgba[x * 4 + 2] = 255;
    }
    const Image twice = ImageResampler::resized(edge, 16, 1);
    int steepest = 0;
    for (int x = 1; x < 16; ++x) {
        steepest = std::max(steepest, twice.rgba[x * 4] - twice.rgba[(x - 1) * 4]);
    }
    EXPECT_GT(steepest, 140);
}

// On a screen of two pixels a point a view that resamples once draws the picture resized to
// the pixels it covers, pixel for pixel.
TEST(Pictures, AViewThatResamplesOnceDrawsThePixelsItCovers) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    window->setBackgroundColor(Color::white());
    HeadlessScreen headless(window, 2.0);
    Image edge = solid(8, 4, {0, 0, 0, 255});
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * 8 + x) * 4;
            edge.rgba[i] = edge.rgba[i + 1] = edge.rgba[i + 2] = 255;
        }
    }
    auto view = std::make_shared<ImageView>(std::make_shared<UIImage>(edge));
    view->setFrame(makeRect(0, 0, 8, 4));
    view->setContentMode(ContentMode::AspectFill);
    view->setResamplesOnce(true);
    window->addSubview(view);
    headless.tick(clock.now());
    const auto node = SnapshotJson::of(view->describeTree());
    EXPECT_EQ(node["resampledPixels"], nlohmann::ordered_json({16, 8}));
    int steepest = 0;
    for (int x = 1; x < 16; ++x) {
        steepest = std::max(steepest, rgb(headless.surface(), x, 4)[0] -
                                          rgb(headless.surface(), x - 1, 4)[0]);
    }
    EXPECT_GT(steepest, 140); // a linear filter's stretch reaches 127.5 at most
}
