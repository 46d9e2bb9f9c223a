#include "app/QVImageView.h"
#include "app/QVPageControlView.h"
#include "ui/UIImage.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

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
