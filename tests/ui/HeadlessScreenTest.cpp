#include "ui/headless/HeadlessScreen.h"
#include "StandinFixture.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/UiTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace vestrino;
using namespace vestrino::ui;

namespace {
std::array<int, 4> pixel(SDL_Surface* s, int x, int y) {
    const auto* p = static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch + x * 4;
    return {p[0], p[1], p[2], p[3]}; // ABGR8888 in memory: R, G, B, A
}
} // namespace

TEST(HeadlessScreen, PaintsTheTreeAndDumpsIt) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    HeadlessScreen headless(window);

    // Text is measured with the real font: Liberation Sans Bold 16 for HelveticaNeue-Bold.
    const Size measured =
        TextMeasurer::shared().measure("Dai un nome alla tua carta", {"HelveticaNeue-Bold", 16});
    EXPECT_EQ(measured, (Size{196, 18}));

    auto red = std::make_shared<View>(makeRect(10, 10, 100, 50));
    red->setBackgroundColor(Color::rgb(255, 0, 0));
    auto clip = std::make_shared<View>(makeRect(200, 10, 50, 50));
    clip->setClipsToBounds(true);
    auto blue = std::make_shared<View>(makeRect(25, 25, 100, 100)); // mostly outside the clip
    blue->setBackgroundColor(Color::rgb(0, 0, 255));
    clip->addSubview(blue);
    auto faded = std::make_shared<View>(makeRect(10, 100, 100, 50));
    faded->setBackgroundColor(Color::white());
    faded->setAlpha(0.5);
    auto label = std::make_shared<Label>(makeRect(10, 200, 300, 30));
    label->setText("Lumacard Anonima");
    label->setName("tipoCarta");
    auto button = std::make_shared<Button>(makeRect(10, 300, 200, 44));
    button->setTitle("Aggiungi Altra Carta", ControlState::Normal);
    button->setSelected(true);
    for (const auto& v : {red, clip, faded, std::static_pointer_cast<View>(label),
                          std::static_pointer_cast<View>(button)}) {
        window->addSubview(v);
    }

    const auto dir = test::StandinFixture::tempDir() / "snapshots";
    ASSERT_TRUE(headless.snapshot(dir, "first"));
    SDL_Surface* s = headless.surface();
    EXPECT_EQ(pixel(s, 50, 30), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(pixel(s, 240, 50), (std::array<int, 4>{0, 0, 255, 255})); // inside the clip
    EXPECT_EQ(pixel(s, 255, 50), (std::array<int, 4>{0, 0, 0, 255}));   // clipped away
    const auto grey = pixel(s, 50, 120);
    EXPECT_NEAR(grey[0], 128, 2); // half white over black

    std::ifstream in(dir / "first.json");
    const auto doc = nlohmann::json::parse(in);
    const auto& children = doc["window"]["children"];
    ASSERT_EQ(children.size(), 5u);
    EXPECT_EQ(children[3]["class"], "Label");
    EXPECT_EQ(children[3]["name"], "tipoCarta");
    EXPECT_EQ(children[3]["text"], "Lumacard Anonima");
    EXPECT_EQ(children[4]["title"], "Aggiungi Altra Carta");
    EXPECT_EQ(children[4]["selected"], true);
    EXPECT_EQ(children[1]["children"][0]["windowFrame"], nlohmann::json({225, 35, 100, 100}));
    EXPECT_TRUE(std::filesystem::file_size(dir / "first.png") > 500);

    // Nothing changed: a tick paints nothing.
    const auto painted = headless.screen().framesPainted();
    headless.tick(clock.now());
    headless.tick(clock.now());
    EXPECT_EQ(headless.screen().framesPainted(), painted);
    red->setAlpha(0.2);
    headless.tick(clock.now());
    EXPECT_EQ(headless.screen().framesPainted(), painted + 1);
}

TEST(HeadlessScreen, StretchableImagesKeepTheirCaps) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    HeadlessScreen headless(window);
    // A 9 × 9 picture: red 4-pixel corners, a green middle column and row.
    Image img;
    img.width = img.height = 9;
    img.rgba.resize(9 * 9 * 4);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            auto* p = &img.rgba[static_cast<std::size_t>((y * 9 + x) * 4)];
            const bool middle = x == 4 || y == 4;
            p[0] = middle ? 0 : 255;
            p[1] = middle ? 255 : 0;
            p[2] = 0;
            p[3] = 255;
        }
    }
    auto stretched = std::make_shared<UIImage>(std::move(img))->stretchableImage(4, 4);
    auto view = std::make_shared<ImageView>(stretched);
    view->setFrame(makeRect(10, 10, 100, 50));
    window->addSubview(view);
    headless.snapshot(test::StandinFixture::tempDir() / "snapshots", "stretched");
    SDL_Surface* s = headless.surface();
    EXPECT_EQ(pixel(s, 11, 11), (std::array<int, 4>{255, 0, 0, 255}));  // corner kept
    EXPECT_EQ(pixel(s, 108, 58), (std::array<int, 4>{255, 0, 0, 255})); // opposite corner
    EXPECT_EQ(pixel(s, 60, 11), (std::array<int, 4>{0, 255, 0, 255}));  // the middle stretched
    EXPECT_EQ(pixel(s, 60, 35), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_EQ(pixel(s, 13, 13), (std::array<int, 4>{255, 0, 0, 255})); // caps not scaled
    EXPECT_EQ(pixel(s, 15, 35), (std::array<int, 4>{0, 255, 0, 255}));
}

TEST(HeadlessScreen, TexturesOfPicturesNoLongerDrawnAreLetGo) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    HeadlessScreen headless(window);
    auto picture = [](std::uint8_t red) {
        Image img;
        img.width = img.height = 8;
        img.rgba.assign(8 * 8 * 4, red);
        return std::make_shared<UIImage>(std::move(img));
    };
    const auto kept = picture(10);
    // A picture and the stretchable forms a screen makes of it each time it loads: one
    // texture, the pixels shared.
    for (const auto& image : {kept, kept->stretchableImage(2, 2), kept->stretchableImage(3, 3)}) {
        auto view = std::make_shared<ImageView>(image);
        view->setFrame(makeRect(0, 0, 40, 40));
        window->addSubview(view);
        EXPECT_EQ(&image->pixels(), &kept->pixels());
    }
    auto gone = std::make_shared<ImageView>(picture(200));
    gone->setFrame(makeRect(50, 0, 40, 40));
    window->addSubview(gone);
    auto paint = [&] {
        window->markDirty();
        headless.tick(clock.now());
    };
    paint();
    EXPECT_EQ(headless.canvas().cachedImageTextures(), 2u);
    gone->removeFromSuperview();
    gone.reset();
    // Its last drawing was in the first frame: kept for kImageFrames frames in all.
    for (int i = 1; i < SdlCanvas::kImageFrames; ++i) {
        paint();
    }
    EXPECT_EQ(headless.canvas().cachedImageTextures(), 2u);
    paint();
    EXPECT_EQ(headless.canvas().cachedImageTextures(), 1u); // then let go; the drawn one stays
}
