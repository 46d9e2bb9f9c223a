#include "ui/headless/ScriptCommand.h"
#include "StandinFixture.h"
#include "ui/Button.h"
#include "ui/UiTestSupport.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace vestrino;
using namespace vestrino::ui;

TEST(ScriptCommand, LinesAreCheckedBeforeTheyRun) {
    using Kind = ScriptCommand::Kind;
    const struct {
        const char* line;
        std::optional<Kind> kind; // nothing: refused (or blank, when the error is empty)
        const char* error;        // part of the error
    } cases[] = {
        {"wait 0.5", Kind::Wait, ""},
        {"wait 600", Kind::Wait, ""},
        {"wait 1e9", std::nullopt, "a duration from 0 to 600 seconds"}, // hours of frames
        {"wait 1e300", std::nullopt, "a duration"},                     // overflowed to nothing
        {"wait -1", std::nullopt, "a duration"},
        {"wait nan", std::nullopt, "wait wants 1 numbers"},
        {"idle", Kind::Idle, ""},
        {"idle 5", Kind::Idle, ""},
        {"idle 1e9", std::nullopt, "a duration"},
        {"drag 10 10 300 10 0.2", Kind::Drag, ""},
        {"drag 10 10 300 10 1e7", std::nullopt, "a duration"},
        {"drag 1e300 10 300 10 0.2", std::nullopt, "a coordinate"},
        {"tap 160 240", Kind::Tap, ""},
        {"tap 160", std::nullopt, "tap wants 2 numbers"},
        {"tap @btnScegli", Kind::Tap, ""},
        {"tap @", std::nullopt, "tap wants X Y or @name"},
        {"tap @a 160", std::nullopt, "tap wants X Y or @name"},
        {"tap btnScegli", std::nullopt, "tap wants 2 numbers"},
        {"touch-move -20 500", Kind::TouchMove, ""},
        {"type \"mario.rossi\"", Kind::Type, ""},
        {"type mario", std::nullopt, "double quotes"},
        {"key return", Kind::Key, ""},
        {"key f13", std::nullopt, "key wants"},
        {"snapshot 04-wallet", Kind::Snapshot, ""},
        {"snapshot v1.2_b", Kind::Snapshot, ""},
        {"snapshot ../../x", std::nullopt, "no plain file name"},
        {"snapshot a/b", std::nullopt, "no plain file name"},
        {"snapshot /etc/x", std::nullopt, "no plain file name"},
        {"snapshot ..", std::nullopt, "no plain file name"},
        {"snapshot", std::nullopt, "snapshot wants a name"},
        {"  # only a comment", std::nullopt, ""},
        {"", std::nullopt, ""},
        {"jump 1", std::nullopt, "unknown command \"jump\""},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto command = ScriptCommand::parse(c.line, error);
        ASSERT_EQ(command.has_value(), c.kind.has_value()) << c.line << ": " << error;
        if (command) {
            EXPECT_EQ(command->kind, *c.kind) << c.line;
            EXPECT_TRUE(error.empty()) << c.line;
        } else {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
            EXPECT_EQ(error.empty(), std::string(c.error).empty()) << c.line;
        }
    }
    std::string error;
    EXPECT_EQ(ScriptCommand::parse("idle", error)->numbers, std::vector<double>{10});
    EXPECT_EQ(ScriptCommand::parse("tap @btnScegli", error)->text, "btnScegli");
    EXPECT_TRUE(ScriptCommand::parse("tap @btnScegli", error)->numbers.empty());
}

TEST(ScriptCommand, TheRunnerNamesTheLineAndWritesNothingOutside) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    HeadlessScreen screen(window);
    const auto base = test::StandinFixture::tempDir() / "script-runner";
    const auto out = base / "out";
    auto virtualClock = std::make_shared<VirtualClock>();
    ScriptRunner runner(screen, virtualClock, out);
    std::istringstream script("# a tour\nwait 0.1\nsnapshot ../escaped\n");
    std::string error;
    EXPECT_FALSE(runner.run(script, error));
    EXPECT_EQ(error.rfind("line 3 (\"snapshot ../escaped\"): ", 0), 0u) << error;
    EXPECT_FALSE(std::filesystem::exists(base / "escaped.png"));
    EXPECT_FALSE(std::filesystem::exists(base / "escaped.json"));
    std::istringstream good("snapshot fine");
    EXPECT_TRUE(runner.run(good, error)) << error;
    EXPECT_TRUE(std::filesystem::exists(out / "fine.png"));
}

// "tap @name" touches the middle of the front-most view of that name that shows; a name that is
// hidden, clipped away or nowhere is an error naming it.
TEST(ScriptCommand, TapByNameTouchesTheViewThatShows) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    HeadlessScreen screen(window);
    auto virtualClock = std::make_shared<VirtualClock>();
    ScriptRunner runner(screen, virtualClock, test::StandinFixture::tempDir() / "tap-by-name");
    int pressed = 0;
    auto button = [&](const char* name, Rect frame) {
        auto b = std::make_shared<Button>(frame);
        b->setName(name);
        b->addTarget([&pressed](Button&) { ++pressed; });
        return b;
    };
    window->addSubview(button("ok", makeRect(100, 200, 60, 30)));
    auto hidden = button("nascosto", makeRect(10, 10, 60, 30));
    hidden->setHidden(true);
    window->addSubview(hidden);
    auto strip = std::make_shared<View>(makeRect(0, 300, 100, 40));
    strip->setClipsToBounds(true);
    strip->addSubview(button("fuori", makeRect(150, 0, 60, 30))); // beyond the strip's edge
    window->addSubview(strip);
    struct Case {
        const char* line;
        bool runs;
        int pressed;
    };
    for (const auto& c : {Case{"tap @ok", true, 1}, Case{"tap @nascosto", false, 1},
                          Case{"tap @fuori", false, 1}, Case{"tap @nessuno", false, 1}}) {
        std::istringstream script(c.line);
        std::string error;
        EXPECT_EQ(runner.run(script, error), c.runs) << c.line << ": " << error;
        if (!c.runs) {
            EXPECT_NE(error.find(std::string(c.line).substr(5)), std::string::npos) << error;
        }
        EXPECT_EQ(pressed, c.pressed) << c.line;
    }
}
