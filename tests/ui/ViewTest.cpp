#include "ui/View.h"
#include "store/StoreTestSupport.h"
#include "ui/Animator.h"
#include "ui/LayoutLoader.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {
std::shared_ptr<View> view(double x, double y, double w, double h, int tag = 0) {
    auto v = std::make_shared<View>(makeRect(x, y, w, h));
    v->setTag(tag);
    return v;
}

// Records the touches it is given; passes them on when asked to.
class TouchLog : public View {
public:
    using View::View;
    std::vector<std::string>* log = nullptr;
    bool passOn = false;
    void touchesBegan(const Touch& t) override {
        log->push_back("began " + std::to_string(tag()));
        if (passOn) {
            View::touchesBegan(t);
        }
    }
    void touchesEnded(const Touch& t) override {
        log->push_back("ended " + std::to_string(tag()));
        if (passOn) {
            View::touchesEnded(t);
        }
    }
};
} // namespace

TEST(View, HitTestingAndCoordinates) {
    auto window = std::make_shared<Window>();
    auto panel = view(20, 100, 280, 200, 1);
    auto button = view(10, 10, 100, 40, 2);
    auto cover = view(0, 0, 280, 100, 3); // above the button, in front
    auto hiddenOne = view(0, 150, 280, 50, 4);
    auto faint = view(0, 100, 280, 50, 5);
    auto inert = view(150, 10, 100, 40, 6);
    window->addSubview(panel);
    panel->addSubview(button);
    panel->addSubview(cover);
    panel->addSubview(hiddenOne);
    panel->addSubview(faint);
    panel->addSubview(inert);
    hiddenOne->setHidden(true);
    faint->setAlpha(0.01);
    inert->setUserInteractionEnabled(false);

    EXPECT_EQ(window->hitTest({50, 120}), cover.get()); // front-most first
    cover->setHidden(true);
    EXPECT_EQ(window->hitTest({50, 120}), button.get());
    EXPECT_EQ(window->hitTest({180, 120}), panel.get()); // through the inert view
    EXPECT_EQ(window->hitTest({30, 260}), panel.get());  // hidden: skipped
    EXPECT_EQ(window->hitTest({30, 210}), panel.get());  // alpha 0.01: skipped
    EXPECT_EQ(window->hitTest({5, 5}), window.get());
    EXPECT_EQ(window->hitTest({400, 5}), nullptr);

    EXPECT_EQ(button->convertPointToView({0, 0}, nullptr), (Point{30, 110}));
    EXPECT_EQ(button->convertPointFromView({35, 115}, nullptr), (Point{5, 5}));
    EXPECT_EQ(button->convertPointToView({1, 1}, inert.get()), (Point{-139, 1}));
    EXPECT_EQ(button->windowFrame(), makeRect(30, 110, 100, 40));
    // A bounds origin (a scrolled content) moves what is inside.
    panel->setBoundsOrigin({0, 20});
    EXPECT_EQ(button->windowFrame(), makeRect(30, 90, 100, 40));
    EXPECT_EQ(window->hitTest({50, 110}), button.get());
    EXPECT_EQ(window->hitTest({50, 95}), window.get()); // outside the panel

    EXPECT_EQ(window->viewWithTag(6), inert.get());
    EXPECT_EQ(panel->viewWithTag(1), panel.get());
    EXPECT_EQ(button->viewWithTag(1), nullptr);
    EXPECT_EQ(button->window(), window.get());
    button->removeFromSuperview();
    EXPECT_EQ(button->window(), nullptr);
    EXPECT_EQ(panel->subviews().size(), 4u);
}

TEST(View, TouchesGoToTheViewHitAtTouchDown) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    std::vector<std::string> log;
    auto outer = std::make_shared<TouchLog>(makeRect(0, 0, 320, 480));
    auto inner = std::make_shared<TouchLog>(makeRect(10, 10, 50, 50));
    outer->setTag(1);
    inner->setTag(2);
    outer->log = inner->log = &log;
    window->addSubview(outer);
    outer->addSubview(inner);
    window->touchDown({20, 20}, clock.now());
    window->touchMove({200, 200}, clock.now()); // leaving the view keeps the touch with it
    window->touchUp({200, 200}, clock.now());
    EXPECT_EQ(log, (std::vector<std::string>{"began 2", "ended 2"}));
    log.clear();
    inner->passOn = true;
    window->touchDown({20, 20}, clock.now());
    window->touchUp({20, 20}, clock.now());
    EXPECT_EQ(log, (std::vector<std::string>{"began 2", "began 1", "ended 2", "ended 1"}));
    // A modal view takes every touch.
    log.clear();
    auto modal = std::make_shared<TouchLog>(makeRect(60, 200, 200, 100));
    modal->setTag(9);
    modal->log = &log;
    window->addSubview(modal);
    window->beginModal(modal.get());
    window->touchDown({20, 20}, clock.now());
    window->touchUp({20, 20}, clock.now());
    window->touchDown({100, 220}, clock.now());
    window->touchUp({100, 220}, clock.now());
    EXPECT_EQ(log, (std::vector<std::string>{"began 9", "ended 9"}));
}

TEST(Animator, ModelAtOncePresentationPerFrame) {
    test::UiClock clock;
    auto v = view(0, 0, 100, 100);
    std::vector<std::string> done;
    Animator::shared().animate(
        {.duration = 0.5, .name = "scrollup"},
        [&] {
            v->setCenter({160, 160});
        },
        [&](bool finished) { done.push_back(finished ? "up" : "up-x"); });
    EXPECT_EQ(v->center(), (Point{160, 160})); // the model at once
    EXPECT_EQ(v->presentationFrame().center(), (Point{50, 50}));
    EXPECT_EQ(Animator::shared().runningNames(), std::vector<std::string>{"scrollup"});
    clock.run(0.25);
    EXPECT_NEAR(v->presentationFrame().center().x, 105, 1.0); // half way on an ease in/out
    clock.run(0.25);
    EXPECT_EQ(v->presentationFrame().center(), (Point{160, 160}));
    EXPECT_EQ(done, std::vector<std::string>{"up"});

    // Interrupted: the new animation starts from the old model value unless it begins from the
    // current state; the first completion reports not finished, before the second one.
    Animator::shared().animate(
        {.duration = 0.5},
        [&] {
            v->setCenter({160, 230});
        },
        [&](bool f) { done.push_back(f ? "down" : "down-x"); });
    clock.run(0.25);
    const double midY = v->presentationFrame().center().y;
    Animator::shared().animate(
        {.duration = 0.5, .beginFromCurrentState = true},
        [&] {
            v->setCenter({160, 160});
        },
        [&](bool f) { done.push_back(f ? "up2" : "up2-x"); });
    EXPECT_NEAR(v->presentationFrame().center().y, midY, 1e-9); // no jump
    clock.run(0.5);
    EXPECT_EQ(done, (std::vector<std::string>{"up", "down-x", "up2"}));

    // A delay holds the old value on screen; alpha animates too; a change outside any
    // animation lands at once and ends the running one.
    Animator::shared().animate(
        {.duration = 0.4, .delay = 0.2}, [&] { v->setAlpha(0); },
        [&](bool f) { done.push_back(f ? "fade" : "fade-x"); });
    clock.run(0.1);
    EXPECT_DOUBLE_EQ(v->presentationAlpha(), 1.0);
    clock.run(0.3);
    EXPECT_LT(v->presentationAlpha(), 1.0);
    v->setAlpha(0.5);
    EXPECT_DOUBLE_EQ(v->presentationAlpha(), 0.5);
    clock.run(0.05);
    EXPECT_EQ(done.back(), "fade-x");
    // An animation that changes nothing still completes, finished, after the frame.
    Animator::shared().animate(
        {.duration = 0.4}, [] {}, [&](bool f) { done.push_back(f ? "empty" : "empty-x"); });
    EXPECT_EQ(done.back(), "fade-x");
    clock.run(1.0 / 60);
    EXPECT_EQ(done.back(), "empty");
}

// A taller or wider superview moves and stretches the views that say which of their parts
// follow it; the others keep their frames. The mask comes from a layout too.
TEST(View, AutoresizingSharesTheChangeAmongTheFlexibleParts) {
    struct Case {
        const char* name;
        unsigned mask;
        Rect frame;    // in a 320 × 480 superview
        Rect expected; // once the superview is 360 × 720
    };
    const Case cases[] = {
        {"nothing flexible stays", kAutoresizeNone, makeRect(20, 100, 280, 40),
         makeRect(20, 100, 280, 40)},
        {"a bar at the bottom keeps to the bottom", kFlexibleTopMargin | kFlexibleWidth,
         makeRect(0, 436, 320, 44), makeRect(0, 676, 360, 44)},
        {"a list takes the height", kFlexibleHeight, makeRect(0, 140, 320, 300),
         makeRect(0, 140, 320, 540)},
        {"centred: both margins share the change",
         kFlexibleLeftMargin | kFlexibleRightMargin | kFlexibleTopMargin | kFlexibleBottomMargin,
         makeRect(60, 140, 200, 200), makeRect(80, 260, 200, 200)},
        {"margin and height in proportion", kFlexibleTopMargin | kFlexibleHeight,
         makeRect(0, 80, 320, 320), makeRect(0, 128, 320, 512)},
        {"flexible parts that are all zero share equally", kFlexibleLeftMargin | kFlexibleWidth,
         makeRect(0, 0, 0, 10), makeRect(20, 0, 20, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto parent = std::make_shared<View>(makeRect(0, 0, 320, 480));
        auto child = std::make_shared<View>(c.frame);
        child->setAutoresizingMask(c.mask);
        parent->addSubview(child);
        parent->setFrame(makeRect(0, 0, 360, 720));
        EXPECT_EQ(child->frame(), c.expected);
        // And back: the same frame as before.
        parent->setFrame(makeRect(0, 0, 320, 480));
        EXPECT_EQ(child->frame(), c.frame);
    }
    LayoutLoader::Outlets outlets;
    std::string error;
    auto root = LayoutLoader::fromJson(
        R"({"class": "View", "frame": [0, 0, 320, 480], "children": [
              {"class": "View", "name": "list", "frame": [0, 140, 320, 300],
               "autoresizing": ["flexibleHeight", "flexibleWidth"]}]})",
        "test", outlets, {}, error);
    ASSERT_TRUE(root) << error;
    root->setFrame(makeRect(0, 0, 320, 568));
    EXPECT_EQ(outlets.at("list")->frame(), makeRect(0, 140, 320, 388));
    EXPECT_FALSE(LayoutLoader::fromJson(
        R"({"class": "View", "frame": [0, 0, 10, 10], "autoresizing": ["stretchy"]})", "test",
        outlets, {}, error));
    EXPECT_NE(error.find("stretchy"), std::string::npos) << error;
}

// A layout's variant changes what it names and nothing else; what it gets wrong is said.
TEST(LayoutLoader, AVariantChangesWhatItNamesOnly) {
    test::TempFolder folder;
    const std::string layout =
        R"({"class": "View", "frame": [0, 0, 320, 480], "children": [
              {"class": "View", "name": "line", "frame": [0, 40, 320, 20]},
              {"class": "View", "name": "rest", "frame": [0, 60, 320, 100], "alpha": 0.5}],
            "variants": {"short": {"line": {"hidden": true}, "rest": {"frame": [0, 40, 320, 100]}},
                         "wrong": {"rest": {"frame": [0, 40]}},
                         "stranger": {"nobody": {"hidden": true}}}})";
    std::ofstream(folder.path() / "V.json") << layout;
    const auto before = LayoutLoader::layoutFolder();
    LayoutLoader::setLayoutFolder(folder.path());
    LayoutLoader::Outlets outlets;
    std::string error;
    ASSERT_TRUE(LayoutLoader::fromJson(layout, "V", outlets, {}, error)) << error;
    ASSERT_TRUE(LayoutLoader::applyVariant("V", "short", outlets, error)) << error;
    EXPECT_TRUE(outlets.at("line")->hidden());
    EXPECT_EQ(outlets.at("line")->frame(), makeRect(0, 40, 320, 20));
    EXPECT_EQ(outlets.at("rest")->frame(), makeRect(0, 40, 320, 100));
    EXPECT_EQ(outlets.at("rest")->alpha(), 0.5);
    const std::pair<const char*, const char*> failures[] = {
        {"tall", "$.variants.tall: no such variant"},
        {"wrong", "$.variants.wrong.rest"},
        {"stranger", "$.variants.stranger.nobody: no such outlet"},
    };
    for (const auto& [variant, said] : failures) {
        EXPECT_FALSE(LayoutLoader::applyVariant("V", variant, outlets, error)) << variant;
        EXPECT_NE(error.find(said), std::string::npos) << error;
    }
    EXPECT_EQ(outlets.at("rest")->frame(), makeRect(0, 40, 320, 100));
    LayoutLoader::setLayoutFolder(before);
}
