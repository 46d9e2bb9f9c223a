#include "ui/sdl/WindowScale.h"
#include "ui/ScreenSize.h"

#include <gtest/gtest.h>

using namespace vestrino::ui;

TEST(WindowScale, TheWindowOpensWhollyOnTheScreen) {
    struct Case {
        const char* name;
        std::optional<double> asked;
        double desktop;
        Rect usable;
        double scale;
        bool noted;
        double atX, atY; // the window's place at that scale
    };
    const Rect xga = makeRect(0, 0, 1024, 768);
    const Rect withPanel = makeRect(0, 27, 1920, 1053);
    const Case cases[] = {
        {"--scale 2 on a 1024 × 768 screen is lowered, and says so", 2.0, 1, xga, 1, true, 352,
         144},
        {"the desktop's 2 on a 1024 × 768 screen: lowered quietly", std::nullopt, 2, xga, 1, false,
         352, 144},
        {"--scale 2 fits a 1080-line screen with a panel", 2.0, 1, withPanel, 2, false, 640, 73},
        {"--scale 3 on it comes down a whole step at a time", 3.0, 1, withPanel, 2, true, 640, 73},
        {"--scale 2.5 comes down to 2", 2.5, 1, withPanel, 2, true, 640, 73},
        {"nothing says: 1", std::nullopt, 1, xga, 1, false, 352, 144},
        {"a screen smaller than the window: 1, placed at the top left", std::nullopt, 1,
         makeRect(0, 0, 300, 400), 1, false, 0, 0},
        {"no usable area known: the scale asked", 2.0, 1, Rect{}, 2, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto chosen = WindowScale::choose({320, 480}, c.asked, c.desktop, c.usable);
        EXPECT_EQ(chosen.scale, c.scale);
        EXPECT_EQ(chosen.note.has_value(), c.noted);
        if (!c.usable.isEmpty()) {
            const Point at = WindowScale::placement({320 * c.scale, 480 * c.scale}, c.usable);
            EXPECT_EQ(at, (Point{c.atX, c.atY}));
        }
    }
}

TEST(ScreenSize, AScreenIsLaidOut320PointsWideBetween480And800High) {
    struct Case {
        const char* text;
        std::optional<Rect> layout; // nothing: refused
        double zoom;
    };
    const Case cases[] = {
        {"320x480", makeRect(0, 0, 320, 480), 1},
        {"320x568", makeRect(0, 0, 320, 568), 1},
        {"360x720", makeRect(0, 0, 320, 640), 1.125},
        {"360X780", makeRect(0, 0, 320, 693), 1.125}, // 693.3: whole points
        {"640x960", makeRect(0, 0, 320, 480), 2},
        {"320x800", makeRect(0, 0, 320, 800), 1},
        {"320x801", std::nullopt, 0}, // taller than any layout
        {"320x479", std::nullopt, 0}, // shorter than the layouts
        {"300x600", std::nullopt, 0}, // narrower than the layouts
        {"480x600", std::nullopt, 0}, // 400 points high once scaled to 320 wide
        {"360", std::nullopt, 0},
        {"360x", std::nullopt, 0},
        {"x720", std::nullopt, 0},
        {"360x720px", std::nullopt, 0},
        {"-360x720", std::nullopt, 0},
        {"99999999999x720", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto size = ScreenSize::parse(c.text, error);
        ASSERT_EQ(size.has_value(), c.layout.has_value()) << error;
        if (size) {
            EXPECT_EQ(size->layoutFrame(), *c.layout);
            EXPECT_DOUBLE_EQ(size->zoom(), c.zoom);
        } else {
            EXPECT_NE(error.find(c.text), std::string::npos)
                << "the message names the input: " << error;
        }
    }
}
