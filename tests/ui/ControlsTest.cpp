#include "ui/ActivityIndicatorView.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"
#include "ui/headless/SnapshotJson.h"

#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

class FieldLog : public TextFieldDelegate {
public:
    std::vector<std::string> calls;
    bool allowDigitsOnly = false;
    void textFieldDidBeginEditing(TextField& f) override { calls.push_back("begin " + f.name()); }
    void textFieldDidEndEditing(TextField& f) override { calls.push_back("end " + f.name()); }
    bool textFieldShouldReturn(TextField& f) override {
        calls.push_back("return " + f.name());
        return true;
    }
    bool textFieldShouldChangeCharacters(TextField&, std::size_t location, std::size_t length,
                                         const std::string& s) override {
        calls.push_back("change " + std::to_string(location) + "," + std::to_string(length) +
                        " \"" + s + "\"");
        return !allowDigitsOnly || s.find_first_not_of("0123456789") == std::string::npos;
    }
};

class Rows : public TableViewDataSource, public TableViewDelegate {
public:
    int count = 1000;
    std::vector<int> selected;
    int numberOfRows(TableView&) override { return count; }
    std::shared_ptr<TableViewCell> cellForRow(TableView& table, int row) override {
        auto cell = table.dequeueReusableCell("riga");
        if (!cell) {
            cell = std::make_shared<TableViewCell>("riga");
        }
        EXPECT_EQ(cell->textLabel().text(), ""); // reset on reuse
        EXPECT_FALSE(cell->selected());
        cell->textLabel().setText("Movimento " + std::to_string(row));
        return cell;
    }
    void didSelectRow(TableView&, int row) override { selected.push_back(row); }
};

class AlertLog : public AlertViewDelegate {
public:
    std::vector<int> dismissed;
    void alertViewDidDismissWithButtonIndex(AlertView&, int index) override {
        dismissed.push_back(index);
    }
};

} // namespace

TEST(TextField, TypingReachesOnlyTheFirstResponder) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    FieldLog log;
    auto user = std::make_shared<TextField>(makeRect(20, 100, 280, 40));
    auto password = std::make_shared<TextField>(makeRect(20, 160, 280, 40));
    user->setName("user");
    password->setName("password");
    password->setSecureTextEntry(true);
    user->setDelegate(&log);
    password->setDelegate(&log);
    window->addSubview(user);
    window->addSubview(password);

    window->insertText("lost"); // nobody is first responder
    EXPECT_EQ(user->text(), "");
    window->touchDown({50, 120}, clock.now());
    window->touchUp({50, 120}, clock.now());
    EXPECT_TRUE(user->isFirstResponder());
    window->insertText("mario è");
    window->insertText("\U0001F4B3");
    EXPECT_EQ(user->text(), "mario è\U0001F4B3");
    window->deleteBackward(); // one code point, not one byte
    EXPECT_EQ(user->text(), "mario è");
    window->deleteBackward();
    EXPECT_EQ(user->text(), "mario ");
    window->returnKey();
    // A tap in the other field moves the first responder.
    window->touchDown({50, 180}, clock.now());
    window->touchUp({50, 180}, clock.now());
    EXPECT_TRUE(password->isFirstResponder());
    window->insertText("segreto");
    EXPECT_EQ(password->text(), "segreto");
    EXPECT_EQ(user->text(), "mario ");
    const auto node = SnapshotJson::of(password->describeTree());
    EXPECT_EQ(node["text"], "*******"); // never the password in a dump
    EXPECT_EQ(log.calls, (std::vector<std::string>{"begin user", "change 0,0 \"mario è\"",
                                                   "change 7,0 \"\U0001F4B3\"", "change 7,1 \"\"",
                                                   "change 6,1 \"\"", "return user", "end user",
                                                   "begin password", "change 0,0 \"segreto\""}));
    // The delegate may refuse a change.
    log.allowDigitsOnly = true;
    window->insertText("x");
    window->insertText("7");
    EXPECT_EQ(password->text(), "segreto7");
    EXPECT_TRUE(password->resignFirstResponder());
    EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST(AlertView, BlocksTheViewsUnderItAndReportsTheButton) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    int taps = 0;
    auto under = std::make_shared<Button>(makeRect(0, 0, 320, 480));
    under->addTarget([&](Button&) { ++taps; });
    window->addSubview(under);
    AlertLog log;
    auto alert =
        std::make_shared<AlertView>("Attenzione", "Sessione scaduta", &log, std::string("OK"),
                                    std::vector<std::string>{"Riprova"});
    alert->setTag(-9090);
    auto spinner = std::make_shared<ActivityIndicatorView>();
    alert->setAccessoryView(spinner);
    spinner->startAnimating();
    EXPECT_TRUE(spinner->isAnimating());
    alert->show(*window);
    EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"OK", "Riprova"}));
    EXPECT_EQ(window->viewWithTag(-9090), alert.get());

    window->touchDown({10, 10}, clock.now()); // the dimmed area: taken by the alert
    window->touchUp({10, 10}, clock.now());
    EXPECT_EQ(taps, 0);
    // The second button.
    Rect other;
    for (const auto& v : alert->subviews()[0]->subviews()) {
        if (auto* b = dynamic_cast<Button*>(v.get()); b && b->currentTitle() == "Riprova") {
            other = b->windowFrame();
        }
    }
    window->touchDown(other.center(), clock.now());
    window->touchUp(other.center(), clock.now());
    EXPECT_EQ(log.dismissed, std::vector<int>{1});
    EXPECT_FALSE(alert->visible());
    EXPECT_EQ(window->modalView(), nullptr);
    window->touchDown({10, 10}, clock.now());
    window->touchUp({10, 10}, clock.now());
    EXPECT_EQ(taps, 1); // free again

    // Dismissed by code, as if with button 0; only once.
    alert->show(*window);
    alert->dismissWithClickedButtonIndex(0);
    alert->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(log.dismissed, (std::vector<int>{1, 0}));
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->hidden());
}

TEST(TableView, OnlyVisibleRowsHaveCellsSelectionStaysAndReloadsKeepRowsInSight) {
    test::UiClock clock;
    auto window = std::make_shared<Window>();
    auto table = std::make_shared<TableView>(makeRect(0, 64, 320, 416));
    Rows rows;
    table->setDataSource(&rows);
    table->setTableDelegate(&rows);
    window->addSubview(table);
    table->reloadData();
    EXPECT_EQ(table->contentSize().height, 44000);
    EXPECT_EQ(table->visibleCells().size(), 10u); // rows 0 to 9 (416 / 44)
    // Scrolled end to end: never more cells than fit on screen, plus one.
    for (double y = 0; y <= 44000 - 416; y += 37) {
        table->setContentOffset({0, y});
        ASSERT_LE(table->visibleCells().size(), 11u);
    }
    EXPECT_LE(table->cellsMade(), 12u);
    // A tap selects a row, which stays selected when it comes back into view.
    table->setContentOffset({0, 0});
    window->touchDown({100, 64 + 44 * 2 + 20}, clock.now());
    window->touchUp({100, 64 + 44 * 2 + 20}, clock.now());
    EXPECT_EQ(rows.selected, std::vector<int>{2});
    EXPECT_EQ(table->selectedRow(), 2);
    table->setContentOffset({0, 4400});
    table->setContentOffset({0, 0});
    EXPECT_TRUE(table->visibleCells().at(2)->selected());
    EXPECT_FALSE(table->visibleCells().at(3)->selected());
    EXPECT_EQ(table->visibleCells().at(2)->textLabel().text(), "Movimento 2");

    // Fewer rows after a reload: the list moves up so that it does not show empty space.
    table->setContentOffset({0, 20000});
    struct Case {
        int count;
        double offsetY;
    };
    // 20 rows: 880 points, 416 shown, so the end is at 464; 5 rows fit: the top.
    for (const Case c : {Case{20, 464}, Case{5, 0}, Case{1000, 0}}) {
        rows.count = c.count;
        table->reloadData();
        EXPECT_EQ(table->contentOffset().y, c.offsetY) << c.count;
        EXPECT_FALSE(table->visibleCells().empty()) << c.count;
        EXPECT_EQ(table->visibleCells().begin()->first, static_cast<int>(c.offsetY / 44));
    }
}

// Without a font engine a character is 0.55 em wide: at 10 points, 5.5 points, so a label 56
// points wide holds ten ("…" is one).
TEST(Label, BreaksLinesAtLineBreaksAndWrapsWordsWhenAsked) {
    struct Case {
        std::string text;
        bool wraps;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // A line that does not fit ends in an ellipsis (no space before it); a million
        // characters cost no more than a dozen.
        {"una riga sola che non va a capo", false, {"una riga…"}},
        {"Causale: X\nImporto: - 1,00 €", false, {"Causale: X", "Importo:…"}},
        {"una riga", false, {"una riga"}},
        {std::string(1'000'000, 'x'), false, {"xxxxxxxxx…"}},
        {"aaa bbb ccc ddd", true, {"aaa bbb", "ccc ddd"}},
        {"aaaa bbbbb ccc", true, {"aaaa bbbbb", "ccc"}},
        {"abcdefghijklmnopqrstuvwxy z", true, {"abcdefghij", "klmnopqrst", "uvwxy z"}},
        {"uno\n\ndue tre quattro", true, {"uno", "", "due tre", "quattro"}},
        {"èèèèèèèèèèè", true, {"èèèèèèèèèè", "è"}}, // whole characters, never half of one
        // A file's path breaks after its slashes and hyphens, never inside a number or a date
        // (here the last piece is wider than the label: it breaks where it must).
        {"in /tmp/Scaricati/Lumacard-5670-2026-12-07.csv",
         true,
         {"in", "/tmp/", "Scaricati/", "Lumacard-", "5670-2026-", "12-07.csv"}},
        {"ab-2026-12-07", true, {"ab-", "2026-12-07"}},
        // An accent written as its own code point stays with its letter: each "é" here is two
        // code points, so four and the ellipsis take nine of the ten places, and a fifth would
        // not fit whole.
        {"e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301",
         false,
         {"e\u0301e\u0301e\u0301e\u0301\u2026"}},
        {"e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301",
         true,
         {"e\u0301e\u0301e\u0301e\u0301e\u0301", "e\u0301"}},
        {"Bar \U0001F1EE\U0001F1F9\U0001F1EE\U0001F1F9\U0001F1EE\U0001F1F9\U0001F1EE\U0001F1F9",
         false,
         {"Bar \U0001F1EE\U0001F1F9\U0001F1EE\U0001F1F9\u2026"}},
        {"", true, {""}},
    };
    for (const auto& c : cases) {
        Label label(makeRect(0, 0, 56, 100));
        label.setFont({"Helvetica", 10});
        label.setWrapsText(c.wraps);
        label.setText(c.text);
        EXPECT_EQ(label.lines(56), c.lines) << c.text.substr(0, 40);
        EXPECT_DOUBLE_EQ(label.textHeight(56), 12.0 * c.lines.size()) << c.text.substr(0, 40);
    }
}
