#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/Switch.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

// A screen with a field, a button, a switch and a list inside a scrolling page; it logs the keys
// that reach it and goes "back" on Escape, as the application's screens do.
class Screen : public ViewController, public TableViewDataSource, public TableViewDelegate {
public:
    std::vector<std::string> log;
    std::shared_ptr<TextField> field;
    std::shared_ptr<Button> button;
    std::shared_ptr<Switch> toggle;
    std::shared_ptr<ScrollView> page;
    std::shared_ptr<TableView> list;

    void loadView() override {
        auto root = std::make_shared<View>(makeRect(0, 0, 320, 392));
        page = std::make_shared<ScrollView>(makeRect(0, 0, 320, 392));
        page->setContentSize({320, 800});
        page->setClipsToBounds(true);
        root->addSubview(page);
        field = std::make_shared<TextField>(makeRect(20, 20, 200, 36));
        field->setName("field");
        page->addSubview(field);
        button = std::make_shared<Button>(makeRect(230, 20, 70, 36));
        button->setName("button");
        button->addTarget([this](Button&) { log.push_back("button pressed"); });
        page->addSubview(button);
        toggle = std::make_shared<Switch>();
        toggle->setFrame(makeRect(20, 70, 51, 31));
        toggle->setName("switch");
        toggle->addTarget([this](Switch& s) { log.push_back(s.isOn() ? "on" : "off"); });
        page->addSubview(toggle);
        list = std::make_shared<TableView>(makeRect(0, 120, 320, 200));
        list->setName("list");
        list->setDataSource(this);
        list->setTableDelegate(this);
        page->addSubview(list);
        list->reloadData();
        // Below the page's first screenful: reached by Tab, scrolled into sight.
        auto far = std::make_shared<Button>(makeRect(20, 700, 100, 36));
        far->setName("far");
        page->addSubview(far);
        setView(root);
    }
    bool keyDown(KeyCommand key) override {
        if (key == KeyCommand::Escape) {
            log.push_back("back");
            return true;
        }
        return false;
    }
    int numberOfRows(TableView&) override { return 20; }
    std::shared_ptr<TableViewCell> cellForRow(TableView& table, int row) override {
        auto cell = table.dequeueReusableCell("row");
        if (!cell) {
            cell = std::make_shared<TableViewCell>("row");
        }
        cell->textLabel().setText("riga " + std::to_string(row));
        return cell;
    }
    void didSelectRow(TableView&, int row) override { log.push_back("row " + std::to_string(row)); }
};

class AlertLog : public AlertViewDelegate {
public:
    std::vector<int> answers;
    void alertViewDidDismissWithButtonIndex(AlertView&, int index) override {
        answers.push_back(index);
    }
};

struct Scene {
    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
    std::shared_ptr<NavigationController> nav = std::make_shared<NavigationController>(screen);
    std::shared_ptr<Window> window = std::make_shared<Window>();
    AlertLog alerts;
    std::shared_ptr<AlertView> alert;

    Scene() {
        window->addSubview(nav->view());
        window->setRootViewController(nav);
        nav->setToolbarHidden(true);
    }
    std::string focus() const {
        const View* v = window->firstResponder();
        return v ? (v->name().empty() ? v->className() : v->name()) : "none";
    }
};

} // namespace

TEST(ResponderChain, EachKeyGoesToTheFocusThenAlongTheChainAndNeverBehindAModalView) {
    test::UiClock clock;
    enum class Alert { None, OneButton, TwoButtons, Activity };
    struct Case {
        const char* name;
        const char* focus; // "" none
        Alert alert;
        const char* input; // key names, or "=TEXT" typed
        const char* fieldText;
        const char* screenLog;    // presses, switch changes, rows, "back"
        const char* alertAnswers; // the buttons' indexes
        const char* focusAfter;
    };
    const Case cases[] = {
        {"typing goes to the focused field", "field", Alert::None, "=ab left =X", "aXb", "", "",
         "field"},
        {"Escape in a field goes on to the screen", "field", Alert::None, "escape", "", "back", "",
         "field"},
        {"no focus: text is dropped, Escape reaches the screen", "", Alert::None, "=zz escape", "",
         "back", "", "none"},
        {"Space and Return press the focused button", "button", Alert::None, "space return", "",
         "button pressed, button pressed", "", "button"},
        {"Space flips the focused switch and runs its action", "switch", Alert::None,
         "space return", "", "on, off", "", "switch"},
        {"the focused list: Down selects rows, Return chooses as a tap", "list", Alert::None,
         "down down up down down return", "", "row 2", "", "list"},
        {"Tab visits the controls in reading order", "", Alert::None, "tab tab tab tab tab", "", "",
         "", "far"},
        {"Shift+Tab goes back round", "field", Alert::None, "shift+tab", "", "", "", "far"},
        {"one-button alert: text dropped, Return answers it, the field's focus comes back", "field",
         Alert::OneButton, "=zz backspace ctrl+v escape space return =ok", "ok", "", "0", "field"},
        {"two buttons: Return has no default, Escape answers cancel", "field", Alert::TwoButtons,
         "=zz return left escape", "", "", "0", "field"},
        {"two buttons: Tab to the second, Space presses it", "button", Alert::TwoButtons,
         "tab tab space", "", "", "1", "button"},
        {"activity alert: nothing answers it and nothing gets through", "field", Alert::Activity,
         "=zz escape return tab space", "", "", "", "field"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        if (*c.focus) {
            View* target = s.screen->view()->viewWithTag(0);
            for (View* v : s.window->tabOrder()) {
                if (v->name() == c.focus) {
                    target = v;
                }
            }
            ASSERT_TRUE(target->becomeFirstResponder());
        }
        s.window->clipboard()->setText("incollato");
        if (c.alert != Alert::None) {
            const bool activity = c.alert == Alert::Activity;
            s.alert = std::make_shared<AlertView>(
                "Titolo", "Messaggio", &s.alerts,
                activity ? std::nullopt : std::optional<std::string>("Annulla"),
                c.alert == Alert::TwoButtons ? std::vector<std::string>{"Elimina"}
                                             : std::vector<std::string>{});
            s.alert->show(*s.window);
        }
        for (const auto& in : test::words(c.input)) {
            if (in[0] == '=') {
                s.window->insertText(in.substr(1));
            } else {
                s.window->keyCommand(*keyCommandNamed(in));
            }
        }
        EXPECT_EQ(s.screen->field->text(), c.fieldText);
        std::string log, answers;
        for (const auto& line : s.screen->log) {
            log += (log.empty() ? "" : ", ") + line;
        }
        for (const int answer : s.alerts.answers) {
            answers += (answers.empty() ? "" : " ") + std::to_string(answer);
        }
        EXPECT_EQ(log, c.screenLog);
        EXPECT_EQ(answers, c.alertAnswers);
        EXPECT_EQ(s.focus(), c.focusAfter);
        EXPECT_EQ(s.screen->list->selectedRow(),
                  std::string(c.name).find("Down selects") != std::string::npos
                      ? std::optional<int>(2)
                      : std::nullopt);
    }
}

TEST(ResponderChain, TabScrollsTheFocusIntoSightAndSkipsWhatCannotTakeIt) {
    test::UiClock clock;
    Scene s;
    std::vector<std::string> order;
    for (View* v : s.window->tabOrder()) {
        order.push_back(v->name());
    }
    // In reading order, the page's control below the fold included; the field's row left to
    // right.
    EXPECT_EQ(order, (std::vector<std::string>{"field", "button", "switch", "list", "far"}));
    ASSERT_TRUE(s.window->keyCommand(KeyCommand::BackTab));
    EXPECT_EQ(s.focus(), "far");
    // The page scrolled just enough to show it whole.
    EXPECT_EQ(s.screen->page->contentOffset().y, 700 + 36 - 392);
    // A disabled button, a hidden switch and a locked list are passed over.
    s.screen->button->setEnabled(false);
    s.screen->toggle->setHidden(true);
    s.screen->list->setUserInteractionEnabled(false);
    order.clear();
    for (View* v : s.window->tabOrder()) {
        order.push_back(v->name());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"field", "far"}));
    // A touch with the pointer takes the keyboard's focus off a control, not off a field.
    s.window->touchDown({300, 380}, clock.now());
    s.window->touchUp({300, 380}, clock.now());
    EXPECT_EQ(s.focus(), "none");
    ASSERT_TRUE(s.screen->field->becomeFirstResponder());
    s.window->touchDown({300, 380}, clock.now());
    s.window->touchUp({300, 380}, clock.now());
    EXPECT_EQ(s.focus(), "field");
}

TEST(ResponderChain, KeysNobodyFocusedUsesScrollThePageAndTheWheelTheViewUnderThePointer) {
    test::UiClock clock;
    struct Case {
        const char* name;
        std::vector<std::string> keys;
        double pageY;
        double listY;
    };
    const Case cases[] = {
        // Moving content up: the outer page first, then the list inside it.
        {"Page Down scrolls the page", {"pagedown"}, 352, 0},
        {"End takes the page to its end", {"end"}, 800 - 392, 0},
        {"Down a line", {"down", "down"}, 80, 0},
        {"Page Up at the top moves nothing", {"pageup"}, 0, 0},
        {"the page's end, then Home", {"end", "home"}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scene s;
        for (const auto& k : c.keys) {
            s.window->keyCommand(*keyCommandNamed(k));
        }
        EXPECT_EQ(s.screen->page->contentOffset().y, c.pageY);
        EXPECT_EQ(s.screen->list->contentOffset().y, c.listY);
    }
    // The wheel over the list moves the list; at its end the page around it takes the rest.
    Scene s;
    EXPECT_TRUE(s.window->scrollWheel({160, 200}, {0, 120}));
    EXPECT_EQ(s.screen->list->contentOffset().y, 120 - 0.0);
    EXPECT_TRUE(s.window->scrollWheel({160, 200}, {0, 1000}));
    EXPECT_EQ(s.screen->list->contentOffset().y, 20 * 44 - 200);
    EXPECT_EQ(s.screen->page->contentOffset().y, 0);
    EXPECT_TRUE(s.window->scrollWheel({160, 200}, {0, 80}));
    EXPECT_EQ(s.screen->page->contentOffset().y, 80);
    // A carousel takes a wheel's worth of movement as one page, and waits for the glide.
    auto carousel = std::make_shared<ScrollView>(makeRect(0, 0, 320, 100));
    carousel->setPagingEnabled(true);
    carousel->setContentSize({960, 100});
    s.screen->view()->addSubview(carousel);
    EXPECT_TRUE(s.window->scrollWheel({160, 50}, {0, 15}));
    EXPECT_TRUE(s.window->scrollWheel({160, 50}, {0, 30}));
    EXPECT_TRUE(s.window->scrollWheel({160, 50}, {0, 40})); // gliding: not a second page
    clock.run(1.0);
    EXPECT_EQ(carousel->contentOffset().x, 320);
    EXPECT_TRUE(s.window->scrollWheel({160, 50}, {0, -40}));
    clock.run(1.0);
    EXPECT_EQ(carousel->contentOffset().x, 0);
    carousel->removeFromSuperview();
    // Nothing behind a modal view moves.
    auto alert = std::make_shared<AlertView>("T", "M", nullptr, std::string("OK"),
                                             std::vector<std::string>{});
    alert->show(*s.window);
    EXPECT_FALSE(s.window->scrollWheel({160, 60}, {0, 80}));
    EXPECT_FALSE(s.window->keyCommand(KeyCommand::PageDown));
    EXPECT_EQ(s.screen->page->contentOffset().y, 80);
}
