#include "ui/LayoutLoader.h"
#include "ui/LayoutNode.h"
#include "ui/NavigationController.h"
#include "ui/TextField.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

class Screen : public ViewController {
public:
    Screen(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    void viewDidLoad() override { log_->push_back(name_ + " didLoad"); }
    void viewWillAppear(bool) override { log_->push_back(name_ + " willAppear"); }
    void viewWillDisappear(bool) override { log_->push_back(name_ + " willDisappear"); }
    void viewDidUnload() override { log_->push_back(name_ + " didUnload"); }

private:
    std::string name_;
    std::vector<std::string>* log_;
};

} // namespace

TEST(NavigationController, LifecycleAndSlides) {
    test::UiClock clock;
    std::vector<std::string> log;
    auto home = std::make_shared<Screen>("home", &log);
    auto nav = std::make_shared<NavigationController>(home);
    auto window = std::make_shared<Window>();
    window->addSubview(nav->view());
    EXPECT_EQ(log, (std::vector<std::string>{"home didLoad", "home willAppear"}));
    EXPECT_EQ(home->view()->frame(), makeRect(0, 44, 320, 392)); // between the bars
    EXPECT_EQ(home->navigationController(), nav.get());

    log.clear();
    auto cards = std::make_shared<Screen>("cards", &log);
    nav->pushViewController(cards, true);
    EXPECT_EQ(
        log, (std::vector<std::string>{"home willDisappear", "cards didLoad", "cards willAppear"}));
    EXPECT_EQ(nav->visibleViewController(), cards);
    clock.run(0.15);
    // Mid-slide both screens are on screen, the new one coming in from the right.
    EXPECT_GT(cards->view()->presentationFrame().minX(), 0);
    EXPECT_LT(cards->view()->presentationFrame().minX(), 320);
    EXPECT_TRUE(home->view()->isDescendantOf(window.get()));
    clock.run(0.3);
    EXPECT_EQ(cards->view()->presentationFrame().minX(), 0);
    EXPECT_FALSE(home->view()->isDescendantOf(window.get()));

    auto info = std::make_shared<Screen>("info", &log);
    nav->pushViewController(info, false);
    EXPECT_TRUE(info->view()->isDescendantOf(window.get()));
    EXPECT_FALSE(cards->view()->isDescendantOf(window.get()));
    log.clear();
    nav->popToRootViewControllerAnimated(true);
    EXPECT_EQ(log, (std::vector<std::string>{"info willDisappear", "home willAppear"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_EQ(info->navigationController(), nullptr);
    clock.run(0.5);
    EXPECT_FALSE(info->view()->isDescendantOf(window.get()));
    EXPECT_TRUE(home->view()->isDescendantOf(window.get()));
    EXPECT_EQ(nav->popViewControllerAnimated(true), nullptr); // the root stays

    // The bars can be replaced and hidden; translucent bars give the screen the whole window.
    auto bar = std::make_shared<View>();
    bar->setTag(-2909);
    nav->setNavigationBar(bar);
    EXPECT_EQ(window->viewWithTag(-2909)->frame(), makeRect(0, 0, 320, 44));
    nav->setToolbarHidden(true);
    EXPECT_EQ(home->view()->frame(), makeRect(0, 44, 320, 436));
    nav->setTranslucent(true);
    EXPECT_EQ(home->view()->frame(), makeRect(0, 0, 320, 480));
    log.clear();
    cards->unloadView();
    EXPECT_EQ(log, std::vector<std::string>{"cards didUnload"});
}

TEST(LayoutLoader, OutletsActionsAndErrorsThatNameTheKey) {
    LayoutLoader::Outlets outlets;
    int taps = 0;
    const LayoutLoader::Actions actions{{"loginTapped", [&](Button&) { ++taps; }}};
    std::string error;
    const auto view = LayoutLoader::fromJson(
        R"({"class": "View", "frame": [0, 0, 320, 416], "backgroundColor": "#f2f4f7",
            "children": [
              {"class": "TextField", "name": "userField", "frame": [20, 100, 280, 40],
               "placeholder": "Nome utente"},
              {"class": "TextField", "name": "passwordField", "frame": [20, 150, 280, 40],
               "secure": true},
              {"class": "Button", "name": "loginButton", "frame": [20, 210, 280, 44],
               "title": "Accedi", "action": "loginTapped", "tag": 7},
              {"class": "Label", "frame": [0, 20, 320, 30], "text": "Benvenuto",
               "font": ["HelveticaNeue-Bold", 16], "alignment": "center", "textColor": "#0b3d91"}
            ]})",
        "Home", outlets, actions, error);
    ASSERT_TRUE(view) << error;
    ASSERT_EQ(outlets.size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<TextField>(outlets["passwordField"])->secureTextEntry());
    EXPECT_EQ(std::dynamic_pointer_cast<TextField>(outlets["userField"])->placeholder(),
              "Nome utente");
    auto button = std::dynamic_pointer_cast<Button>(outlets["loginButton"]);
    button->sendActions();
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(view->viewWithTag(7), button.get());
    EXPECT_EQ(view->backgroundColor(), Color::rgb(242, 244, 247));

    const std::pair<const char*, const char*> wrong[] = {
        {R"({"class": "View", "children": [{"class": "Label", "frame": [0, 0, 10]}]})",
         "layout Bad: $.children[0].frame: expected [x, y, width, height]"},
        {R"({"class": "Slider"})", "layout Bad: $.class: unknown class \"Slider\""},
        {R"({"class": "Button", "action": "nowhere"})",
         "layout Bad: $.action: the screen has no action \"nowhere\""},
        {R"({"class": "View", "backgroundColor": "blue"})",
         "layout Bad: $.backgroundColor: expected a colour such as \"#0b3d91\" or a role such as "
         "\"@accent\""},
        {R"({"class": "View", "backgroundColor": "@azure"})",
         "layout Bad: $.backgroundColor: expected a colour such as \"#0b3d91\" or a role such as "
         "\"@accent\""},
        {R"({"class": "ImageView", "image": "vestrino_missing_320.png"})",
         "layout Bad: $.image: no image resource \"vestrino_missing_320.png\""},
        {R"({"frame": [0, 0, 1, 1]})", "layout Bad: $.class: missing"},
        {R"({"class": "Label", "alignment": "middle"})",
         "layout Bad: $.alignment: expected one of center, left, right"},
        {R"({"class": "View", "autoresizing": ["flexibleDepth"]})",
         "layout Bad: $.autoresizing: no such part \"flexibleDepth\""},
        {R"({"class": "View", "hidden": "yes"})", "layout Bad: $.hidden: expected true or false"},
    };
    for (const auto& [json, message] : wrong) {
        LayoutLoader::Outlets o;
        EXPECT_FALSE(LayoutLoader::fromJson(json, "Bad", o, actions, error)) << json;
        EXPECT_EQ(error, message);
    }
    EXPECT_FALSE(LayoutLoader::fromJson("{not json", "Bad", outlets, actions, error));
    EXPECT_EQ(error.rfind("layout Bad: not JSON", 0), 0u);
}

namespace {

// A widget of an application's own, with a key of its own: the loader needs no change for it.
class Banner : public Label {
public:
    void applyLayout(const LayoutNode& node) override {
        if (node.has("shout")) {
            shout = node.boolean("shout");
        }
        Label::applyLayout(node);
    }
    bool shout = false;
};

} // namespace

TEST(LayoutLoader, AWidgetReadsItsOwnKeys) {
    LayoutLoader::registerClass("Banner", [] { return std::make_shared<Banner>(); });
    LayoutLoader::Outlets outlets;
    std::string error;
    const auto view = LayoutLoader::fromJson(
        R"({"class": "Banner", "name": "b", "shout": true, "text": "Ciao", "frame": [1, 2, 3, 4]})",
        "Own", outlets, {}, error);
    ASSERT_TRUE(view) << error;
    const auto banner = std::dynamic_pointer_cast<Banner>(outlets["b"]);
    ASSERT_TRUE(banner);
    EXPECT_TRUE(banner->shout);
    EXPECT_EQ(banner->text(), "Ciao");                // its base class's keys
    EXPECT_EQ(banner->frame(), makeRect(1, 2, 3, 4)); // and the view's
    EXPECT_FALSE(
        LayoutLoader::fromJson(R"({"class": "Banner", "shout": 1})", "Own", outlets, {}, error));
    EXPECT_EQ(error, "layout Own: $.shout: expected true or false");
}
