#include "ui/ScrollView.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

class Log : public ScrollViewDelegate {
public:
    std::vector<std::string> calls;
    int scrolls = 0;
    void scrollViewDidScroll(ScrollView&) override { ++scrolls; }
    void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
        calls.push_back(decelerate ? "endDragging(decelerate)" : "endDragging");
    }
    void scrollViewDidEndDecelerating(ScrollView&) override { calls.push_back("endDecelerating"); }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override {
        calls.push_back("endScrollingAnimation");
    }
};

class CancelLog : public View {
public:
    using View::View;
    std::vector<std::string> log;
    void touchesBegan(const Touch&) override { log.push_back("began"); }
    void touchesEnded(const Touch&) override { log.push_back("ended"); }
    void touchesCancelled(const Touch&) override { log.push_back("cancelled"); }
};

// A carousel of five 320-point pages in a window.
struct Carousel {
    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<ScrollView> scroll = std::make_shared<ScrollView>(makeRect(0, 0, 320, 240));
    std::shared_ptr<CancelLog> content = std::make_shared<CancelLog>(makeRect(0, 0, 1600, 240));
    Log log;
    Carousel() {
        window->addSubview(scroll);
        scroll->addSubview(content);
        scroll->setContentSize({1600, 240});
        scroll->setPagingEnabled(true);
        scroll->setDelegate(&log);
    }
    // A drag from x0 to x1 at y 100 taking `duration` seconds, then the finger lifts.
    void drag(test::UiClock& clock, double x0, double x1, double duration, double holdBefore = 0) {
        window->touchDown({x0, 100}, clock.now());
        const int steps = std::max(1, static_cast<int>(duration * 60));
        for (int i = 1; i <= steps; ++i) {
            clock.run(1.0 / 60);
            window->touchMove({x0 + (x1 - x0) * i / steps, 100}, clock.now());
        }
        clock.run(holdBefore);
        window->touchUp({x1, 100}, clock.now());
    }
};

} // namespace

TEST(ScrollView, PagingDelegateCalls) {
    struct Case {
        const char* name;
        double startPage;
        double x0, x1, duration, hold;
        double restX;
        bool dragged; // ended dragging, decelerating to the page
    };
    const Case cases[] = {
        {"a slow drag that stops half way settles back", 1, 300, 140, 1.0, 0.3, 320, true},
        {"a slow drag just past half way goes on", 1, 300, 139, 1.0, 0.3, 640, true},
        {"a flick moves one page only", 1, 300, 20, 0.1, 0, 640, true},
        {"a flick backwards", 2, 20, 300, 0.1, 0, 320, true},
        {"a drag past the first page bounces back", 0, 20, 300, 0.5, 0.3, 0, true},
        {"a drag past the last page bounces back", 4, 300, 20, 0.5, 0.3, 1280, true},
        {"a drag that ends where it began does not decelerate", 1, 150, 150, 0.2, 0.3, 320, false},
    };
    for (const auto& c : cases) {
        test::UiClock clock;
        Carousel k;
        k.scroll->setContentOffset({c.startPage * 320, 0});
        k.log.scrolls = 0;
        k.drag(clock, c.x0, c.x1, c.duration, c.hold);
        clock.run(1.0);
        EXPECT_EQ(k.scroll->contentOffset(), (Point{c.restX, 0})) << c.name;
        const std::vector<std::string> dragged{"endDragging(decelerate)", "endDecelerating"};
        EXPECT_EQ(k.log.calls, c.dragged ? dragged : std::vector<std::string>{}) << c.name;
        if (c.x0 != c.x1) {
            EXPECT_GT(k.log.scrolls, 5) << c.name; // didScroll on every change
        }
        // A drag that starts on the content never reaches it (its touch-down was held); a touch
        // that never moves is the content's.
        const std::vector<std::string> taken{}, kept{"began", "ended"};
        EXPECT_EQ(k.content->log, c.x0 != c.x1 ? taken : kept) << c.name;
    }
}

TEST(ScrollView, HalfWayIsThePageBefore) {
    test::UiClock clock;
    Carousel k;
    // The finger held still at exactly 480 (page 2 of 5, counting from 1), then at 481.
    k.scroll->setContentOffset({320, 0});
    k.drag(clock, 250, 90, 0.5, 0.3); // 160 points: offset 480
    clock.run(1.0);
    EXPECT_EQ(k.scroll->contentOffset().x, 320);
    k.drag(clock, 250, 89, 0.5, 0.3); // 161 points: offset 481
    clock.run(1.0);
    EXPECT_EQ(k.scroll->contentOffset().x, 640);
}

TEST(ScrollView, ProgrammaticMovesAndATouchDuringDeceleration) {
    test::UiClock clock;
    Carousel k;
    k.scroll->setContentOffset({640, 0}); // not animated: one didScroll, no end call
    EXPECT_EQ(k.log.scrolls, 1);
    EXPECT_TRUE(k.log.calls.empty());
    k.scroll->setContentOffset({960, 0}, true);
    EXPECT_EQ(k.scroll->contentOffset().x, 640); // moves over the next frames
    clock.run(0.5);
    EXPECT_EQ(k.scroll->contentOffset().x, 960);
    EXPECT_EQ(k.log.calls, std::vector<std::string>{"endScrollingAnimation"});

    // A flick, then a finger on the moving content: it stops there, and lifting the finger
    // without moving settles it on a page again.
    k.log.calls.clear();
    k.drag(clock, 300, 20, 0.1);
    clock.run(0.05);
    const double moving = k.scroll->contentOffset().x;
    EXPECT_GT(moving, 960);
    EXPECT_LT(moving, 1280);
    k.window->touchDown({100, 100}, clock.now());
    clock.run(0.2);
    EXPECT_EQ(k.scroll->contentOffset().x, moving);
    EXPECT_EQ(k.log.calls, std::vector<std::string>{"endDragging(decelerate)"});
}

TEST(ScrollView, SmallMovesStayWithTheContent) {
    test::UiClock clock;
    Carousel k;
    k.window->touchDown({100, 100}, clock.now());
    k.window->touchMove({108, 104}, clock.now()); // within 10 points
    k.window->touchUp({108, 104}, clock.now());
    EXPECT_EQ(k.content->log, (std::vector<std::string>{"began", "ended"}));
    EXPECT_EQ(k.scroll->contentOffset().x, 0);
    EXPECT_TRUE(k.log.calls.empty());
}

// What the content of a scroll view sees of one touch, by how the finger moves and when, with
// and without the held touch-down.
TEST(ScrollView, ContentTouchesWaitForTheDelay) {
    struct Step {
        double x;  // the finger's x (y stays 100)
        double at; // seconds after touch-down
        char what; // 'm' move, 'u' up
    };
    struct Case {
        const char* name;
        bool delays;
        std::vector<Step> steps;
        // What the content has seen just before each step, and at the end.
        std::vector<std::vector<std::string>> seen;
    };
    using L = std::vector<std::string>;
    const Case cases[] = {
        {"a quick tap: touch-down and touch-up at once when the finger lifts",
         true,
         {{100, 0.05, 'u'}},
         {L{}, L{"began", "ended"}}},
        {"a press that stays: touch-down when the delay ends",
         true,
         {{100, 0.10, 'm'}, {100, 0.30, 'u'}},
         {L{}, L{"began"}, L{"began", "ended"}}},
        {"a drag within the delay: the content never hears of it",
         true,
         {{95, 0.03, 'm'}, {60, 0.06, 'm'}, {20, 0.2, 'm'}, {20, 0.5, 'u'}},
         {L{}, L{}, L{}, L{}, L{}}},
        {"a drag after the delay: the content's touch is cancelled",
         true,
         {{100, 0.2, 'm'}, {60, 0.25, 'm'}, {60, 0.5, 'u'}},
         {L{"began"}, L{"began"}, L{"began", "cancelled"}, L{"began", "cancelled"}}},
        {"small moves within the slop stay with the content",
         true,
         {{106, 0.05, 'm'}, {104, 0.1, 'u'}},
         {L{}, L{}, L{"began", "ended"}}},
        {"without the delay the content has the touch at once",
         false,
         {{60, 0.05, 'm'}, {60, 0.2, 'u'}},
         {L{"began"}, L{"began", "cancelled"}, L{"began", "cancelled"}}},
    };
    for (const auto& c : cases) {
        test::UiClock clock;
        Carousel k;
        k.scroll->setDelaysContentTouches(c.delays);
        k.scroll->setContentOffset({320, 0});
        k.window->touchDown({100, 100}, clock.now());
        double t = 0;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            clock.run(c.steps[i].at - t);
            t = c.steps[i].at;
            EXPECT_EQ(k.content->log, c.seen[i]) << c.name << ", before step " << i;
            if (c.steps[i].what == 'm') {
                k.window->touchMove({c.steps[i].x, 100}, clock.now());
            } else {
                k.window->touchUp({c.steps[i].x, 100}, clock.now());
            }
        }
        clock.run(1.0);
        EXPECT_EQ(k.content->log, c.seen.back()) << c.name << ", at the end";
    }
}
