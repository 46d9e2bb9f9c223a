#include "ui/sdl/WindowScale.h"

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
        Point at; // for the window at that scale
    };
    const Rect xga = makeRect(0, 0, 1024, 768);
    const Rect withPanel = makeRect(0, 27, 1920, 1053);
    const Case cases[] = {
        {"--scale 2 on a 1024 × 768 screen is lowered, and says so",
         2.0,
         1,
         xga,
         1,
         true,
         {352, 144}},
        {"the desktop's 2 on a 1024 × 768 screen: lowered quietly",
         std::nullopt,
         2,
         xga,
         1,
         false,
         {352, 144}},
        {"--scale 2 fits a 1080-line screen with a panel", 2.0, 1, withPanel, 2, false, {640, 73}},
        {"--scale 3 on it comes down a whole step at a time",
         3.0,
         1,
         withPanel,
         2,
         true,
         {640, 73}},
        {"--scale 2.5 comes down to 2", 2.5, 1, withPanel, 2, true, {640, 73}},
        {"nothing says: 1", std::nullopt, 1, xga, 1, false, {352, 144}},
        {"a screen smaller than the window: 1, placed at the top left",
         std::nullopt,
         1,
         makeRect(0, 0, 300, 400),
         1,
         false,
         {0, 0}},
        {"no usable area known: the scale asked", 2.0, 1, Rect{}, 2, false, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto chosen = WindowScale::choose({320, 480}, c.asked, c.desktop, c.usable);
        EXPECT_EQ(chosen.scale, c.scale);
        EXPECT_EQ(chosen.note.has_value(), c.noted);
        if (!c.usable.isEmpty()) {
            const Point at = WindowScale::placement({320 * c.scale, 480 * c.scale}, c.usable);
            EXPECT_EQ(at, c.at);
        }
    }
}
