#include "app/wallet/QVImageView.h"
#include "app/wallet/QVPageControlView.h"
#include "ui/ScrollView.h"
#include "ui/UIImage.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

class PageLog : public QVPageControlViewDelegate {
public:
    std::vector<std::pair<std::int32_t, std::uint32_t>> calls; // page, selected at the call
    void qvPageControlPageChanged(QVPageControlView& c, std::int32_t page) override {
        calls.emplace_back(page, c.selectedPage());
    }
};

class TouchLog : public QVImageViewDelegate {
public:
    std::vector<std::string> calls;
    void qvImageViewTapped(QVImageView&) override { calls.push_back("tapped"); }
    void qvImageViewTouchBegin(QVImageView&, Point p) override {
        calls.push_back("begin " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
    }
    void qvImageViewTouchEnd(QVImageView&, Point) override { calls.push_back("end"); }
};

std::vector<std::tuple<double, double, bool>> dots(const QVPageControlView& c) {
    std::vector<std::tuple<double, double, bool>> out;
    for (const auto& v : c.subviews()) {
        const auto* dot = dynamic_cast<const ImageView*>(v.get());
        out.emplace_back(v->frame().minX(), v->frame().minY(),
                         dot->image() && dot->image()->name().find("blu") != std::string::npos);
    }
    return out;
}

} // namespace

TEST(QVPageControlView, DotsAndTouches) {
    UIImage::setResourceFolder(std::filesystem::path(VESTRINO_SOURCE_DIR) / "resources/images");
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    auto control = std::make_shared<QVPageControlView>(makeRect(0, 100, 100, 20));
    window->addSubview(control);
    EXPECT_EQ(dots(*control), (std::vector<std::tuple<double, double, bool>>{{43, 3, true}}));
    control->setNumberOfPages(3);
    EXPECT_EQ(dots(*control), (std::vector<std::tuple<double, double, bool>>{
                                  {29, 3, true}, {43, 3, false}, {57, 3, false}}));
    control->setSelectedPage(0); // no page: every dot yellow, in place
    EXPECT_EQ(dots(*control), (std::vector<std::tuple<double, double, bool>>{
                                  {29, 3, false}, {43, 3, false}, {57, 3, false}}));
    control->setSelectedPage(1);

    // Without a delegate nothing happens, not even the selection.
    window->touchDown({46, 106}, clock.now());
    window->touchUp({46, 106}, clock.now());
    EXPECT_EQ(control->selectedPage(), 1u);
    PageLog log;
    control->setDelegate(&log);
    window->touchDown({46, 106}, clock.now()); // the second dot
    window->touchUp({46, 106}, clock.now());
    window->touchDown({52, 106}, clock.now()); // the gap after it
    window->touchUp({52, 106}, clock.now());
    EXPECT_EQ(log.calls, (std::vector<std::pair<std::int32_t, std::uint32_t>>{{2, 1}}));
    EXPECT_EQ(control->selectedPage(), 2u);
    control->setNumberOfPages(0);
    EXPECT_TRUE(control->subviews().empty());
}

TEST(QVImageView, TheTapComesAtTouchDownBeforeTheBegin) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    auto view = std::make_shared<QVImageView>(makeRect(10, 10, 100, 100));
    view->setUserInteractionEnabled(true);
    window->addSubview(view);
    TouchLog log;
    view->setDelegate(&log);
    window->touchDown({30, 40}, clock.now());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"tapped", "begin 20,30"}));
    window->touchMove({300, 400}, clock.now()); // dragged away: still a tap
    window->touchUp({300, 400}, clock.now());
    EXPECT_EQ(log.calls.back(), "end");
}

// A card of a carousel reports its tap when the touch ends: a press that turns into a drag is
// taken over by the carousel and chooses nothing, as on a phone. The keyboard's Space gives the
// reports of a touch at the card's middle.
TEST(QVImageView, ACardInACarouselTapsWhenTheTouchEndsAndNotWhenItTurnsIntoADrag) {
    struct Case {
        const char* name;
        const char* moves; // "x@t": the finger at x (y stays 100) t seconds after touch-down
        double liftAt;
        const char* reports;
        double offset; // the carousel's offset at the end
    };
    const Case cases[] = {
        {"a quick tap", "", 0.05, "begin 100,90; end; tapped", 320},
        {"a still press, lifted after the delay", "", 0.4, "begin 100,90; end; tapped", 320},
        {"held past the delay, then dragged 160 points", "140@0.30 220@0.35 260@0.4", 0.45,
         "begin 100,90; cancelled", 0},
        {"dragged at once: the card never hears of it", "60@0.02 -60@0.08", 0.1, "", 640},
        {"a small wobble within the slop stays a tap", "106@0.2", 0.3, "begin 100,90; end; tapped",
         320},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::UiClock clock;
        auto window = std::make_shared<Window>();
        auto carousel = std::make_shared<ScrollView>(makeRect(0, 10, 320, 200));
        carousel->setPagingEnabled(true);
        carousel->setContentSize({960, 200});
        carousel->setContentOffset({320, 0});
        window->addSubview(carousel);
        auto card = std::make_shared<QVImageView>(makeRect(320, 0, 320, 200));
        card->setUserInteractionEnabled(true);
        card->setTapsOnRelease(true);
        carousel->addSubview(card);
        struct Log : TouchLog {
            void qvImageViewTouchCancelled(QVImageView&, Point) override {
                calls.push_back("cancelled");
            }
        } log;
        card->setDelegate(&log);
        window->touchDown({100, 100}, clock.now());
        double t = 0, x = 100;
        for (const auto& move : test::words(c.moves)) {
            double at = 0;
            ASSERT_EQ(std::sscanf(move.c_str(), "%lf@%lf", &x, &at), 2) << move;
            clock.run(at - t);
            t = at;
            window->touchMove({x, 100}, clock.now());
        }
        clock.run(c.liftAt - t);
        window->touchUp({x, 100}, clock.now());
        clock.run(1.0);
        std::string reports;
        for (const auto& call : log.calls) {
            reports += (reports.empty() ? "" : "; ") + call;
        }
        EXPECT_EQ(reports, c.reports);
        EXPECT_EQ(carousel->contentOffset().x, c.offset);
    }
    // Space with the card focused: the same reports as a touch at its middle.
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    auto card = std::make_shared<QVImageView>(makeRect(0, 0, 320, 200));
    card->setFocusable(true);
    card->setTapsOnRelease(true);
    window->addSubview(card);
    TouchLog log;
    card->setDelegate(&log);
    ASSERT_TRUE(card->becomeFirstResponder());
    EXPECT_TRUE(window->keyCommand(KeyCommand::Space));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"begin 160,100", "end", "tapped"}));
    // The backdrop's kind (tap at touch-down) is not a focus stop unless asked.
    auto backdrop = std::make_shared<QVImageView>(makeRect(0, 200, 320, 200));
    window->addSubview(backdrop);
    EXPECT_FALSE(backdrop->becomeFirstResponder());
}
