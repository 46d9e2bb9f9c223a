#include "ui/AlertView.h"
#include "ui/KeyCommand.h"
#include "ui/TextField.h"
#include "ui/UiTestSupport.h"
#include "ui/Window.h"
#include "ui/headless/HeadlessScreen.h"

#include "core/Utf8.h"
#include "ui/Font.h"

#include <gtest/gtest.h>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

class Log : public TextFieldDelegate, public AlertViewDelegate {
public:
    std::vector<std::string> calls;
    void textFieldDidBeginEditing(TextField& f) override { calls.push_back("begin " + f.name()); }
    void textFieldDidEndEditing(TextField& f) override { calls.push_back("end " + f.name()); }
    bool textFieldShouldChangeCharacters(TextField& f, std::size_t location, std::size_t length,
                                         const std::string& s) override {
        calls.push_back("change " + f.name() + " " + std::to_string(location) + "," +
                        std::to_string(length) + " \"" + s + "\"");
        return true;
    }
    void alertViewDidDismissWithButtonIndex(AlertView&, int index) override {
        calls.push_back("alert " + std::to_string(index));
    }
};

// A screen of fields in no particular order of adding, with some Tab must skip.
struct Fields {
    std::shared_ptr<Window> window = std::make_shared<Window>();
    Log log;
    std::map<std::string, std::shared_ptr<TextField>> byName;

    Fields() {
        add("right", makeRect(170, 200, 130, 40));
        add("top", makeRect(20, 100, 280, 40));
        add("left", makeRect(20, 200, 130, 40));
        add("hidden", makeRect(20, 300, 280, 40))->setHidden(true);
        add("offscreen", makeRect(340, 100, 280, 40)); // a screen slid away
        add("locked", makeRect(20, 360, 280, 40))->setUserInteractionEnabled(false);
    }
    std::shared_ptr<TextField> add(const std::string& name, const Rect& frame) {
        auto f = std::make_shared<TextField>(frame);
        f->setName(name);
        f->setDelegate(&log);
        window->addSubview(f);
        byName[name] = f;
        return f;
    }
    std::string responder() const {
        const auto* f = dynamic_cast<TextField*>(window->firstResponder());
        return f ? f->name() : "none";
    }
};

} // namespace

TEST(Keyboard, TabAndShiftTabVisitTheShownFieldsInReadingOrder) {
    test::UiClock clock;
    struct Case {
        const char* start; // the first responder before the keys ("" none)
        std::vector<KeyCommand> keys;
        std::vector<std::string> visited;
    };
    using K = KeyCommand;
    const Case cases[] = {
        {"", {K::Tab, K::Tab, K::Tab, K::Tab}, {"top", "left", "right", "top"}},
        {"", {K::BackTab, K::BackTab}, {"right", "left"}},
        {"left", {K::BackTab, K::BackTab}, {"top", "right"}},
        {"right", {K::Tab, K::BackTab}, {"top", "right"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        Fields f;
        if (*c.start) {
            ASSERT_TRUE(f.byName[c.start]->becomeFirstResponder());
        }
        std::vector<std::string> visited;
        for (const auto key : c.keys) {
            EXPECT_TRUE(f.window->keyCommand(key));
            visited.push_back(f.responder());
        }
        EXPECT_EQ(visited, c.visited);
    }
    // Every move ends the editing of one field and begins the next, as a tap does.
    Fields f;
    f.window->keyCommand(K::Tab);
    f.window->keyCommand(K::Tab);
    EXPECT_EQ(f.log.calls, (std::vector<std::string>{"begin top", "end top", "begin left"}));
    // With an alert up, Tab stays inside it (its button); the field behind keeps its text and,
    // once the alert has gone, the focus, without ending or beginning its editing.
    auto alert = std::make_shared<AlertView>("Attenzione", "Messaggio", &f.log, std::string("OK"),
                                             std::vector<std::string>{});
    alert->show(*f.window);
    EXPECT_TRUE(f.window->keyCommand(K::Tab));
    EXPECT_EQ(f.responder(), "none");
    EXPECT_EQ(f.window->tabOrder().size(), 1u);
    EXPECT_TRUE(f.window->keyCommand(K::Return));
    EXPECT_FALSE(alert->visible());
    EXPECT_EQ(f.responder(), "left");
    EXPECT_EQ(f.log.calls,
              (std::vector<std::string>{"begin top", "end top", "begin left", "alert 0"}));
}

TEST(Keyboard, EscapeAnswersAnAlertWithItsCancelButtonOnly) {
    test::UiClock clock;
    struct Case {
        const char* name;
        std::optional<std::string> cancel;
        std::vector<std::string> others;
        bool answered;
    };
    const Case cases[] = {
        {"cancel only", std::string("OK"), {}, true},
        {"cancel and another", std::string("Annulla"), {"Elimina"}, true},
        {"no cancel button", std::nullopt, {"Elimina"}, false},
        {"an activity alert without buttons", std::nullopt, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fields f;
        auto alert = std::make_shared<AlertView>("Titolo", "Messaggio", &f.log, c.cancel, c.others);
        alert->show(*f.window);
        EXPECT_EQ(f.window->keyCommand(KeyCommand::Escape), c.answered);
        EXPECT_EQ(alert->visible(), !c.answered);
        EXPECT_EQ(f.log.calls,
                  c.answered ? std::vector<std::string>{"alert 0"} : std::vector<std::string>{});
        EXPECT_FALSE(f.window->keyCommand(KeyCommand::Escape)) << "answered twice";
    }
    Fields none;
    EXPECT_FALSE(none.window->keyCommand(KeyCommand::Escape)); // no alert: nothing to do
}

TEST(Keyboard, CtrlVPastesTheFirstLineAsOneProposedChange) {
    test::UiClock clock;
    struct Case {
        const char* name;
        std::optional<std::string> clipboard;
        bool focused;
        std::string text;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"one line",
         std::string("mario.rossi"),
         true,
         "ab mario.rossi",
         {"begin top", "change top 0,0 \"ab \"", "change top 3,0 \"mario.rossi\""}},
        {"the first of two lines",
         std::string("riga uno\r\nriga due"),
         true,
         "ab riga uno",
         {"begin top", "change top 0,0 \"ab \"", "change top 3,0 \"riga uno\""}},
        {"an empty clipboard", std::nullopt, true, "ab ", {"begin top", "change top 0,0 \"ab \""}},
        {"no field being edited", std::string("perso"), false, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fields f;
        if (c.clipboard) {
            f.window->clipboard()->setText(*c.clipboard);
        }
        if (c.focused) {
            f.byName["top"]->becomeFirstResponder();
            f.window->insertText("ab ");
        }
        f.window->keyCommand(KeyCommand::Paste);
        EXPECT_EQ(f.byName["top"]->text(), c.text);
        EXPECT_EQ(f.log.calls, c.calls);
    }
    // The script's names for the keys.
    EXPECT_EQ(keyCommandNamed("ctrl+v"), KeyCommand::Paste);
    EXPECT_EQ(keyCommandNamed("shift+tab"), KeyCommand::BackTab);
    EXPECT_EQ(keyCommandNamed("ctrl+q"), std::nullopt);
}

TEST(Keyboard, TheCaretBlinksAndShowsAtEveryEdit) {
    test::UiClock clock;
    Fields f;
    HeadlessScreen screen(f.window);
    auto& field = *f.byName["top"];
    EXPECT_FALSE(field.caretVisible());
    field.becomeFirstResponder();
    struct Step {
        double after; // seconds from the previous step
        const char* typed;
        bool visible;
    };
    const Step steps[] = {
        {0.0, nullptr, true}, {0.5, nullptr, true},   {0.1, nullptr, false}, {0.4, nullptr, false},
        {0.1, nullptr, true}, {0.3, "x", true},       {0.5, nullptr, true},  {0.1, nullptr, false},
        {0.1, "y", true},     {0.55, nullptr, false}, {0.55, nullptr, true},
    };
    for (const auto& s : steps) {
        const auto painted = screen.screen().framesPainted();
        clock.run(s.after);
        screen.tick(clock.now());
        if (s.typed) {
            f.window->insertText(s.typed);
            screen.tick(clock.now());
        }
        EXPECT_EQ(field.caretVisible(), s.visible) << "after " << s.after;
        if (s.after >= TextField::kCaretBlink / std::chrono::milliseconds(1) / 1000.0) {
            EXPECT_GT(screen.screen().framesPainted(), painted) << "no repaint for the blink";
        }
    }
    // Once the field is left the caret is gone and nothing repaints for it any more.
    field.resignFirstResponder();
    screen.tick(clock.now());
    const auto painted = screen.screen().framesPainted();
    clock.run(2);
    screen.tick(clock.now());
    EXPECT_FALSE(field.caretVisible());
    EXPECT_EQ(screen.screen().framesPainted(), painted);
}

namespace {

// A delegate that may refuse what is not a digit, and logs every proposed change.
class EditLog : public TextFieldDelegate {
public:
    std::string proposed; // "location,length:replacement" a change
    bool digitsOnly = false;
    bool textFieldShouldChangeCharacters(TextField&, std::size_t location, std::size_t length,
                                         const std::string& s) override {
        proposed += (proposed.empty() ? "" : " ") + std::to_string(location) + "," +
                    std::to_string(length) + ":" + s;
        return !digitsOnly || s.find_first_not_of("0123456789") == std::string::npos;
    }
};

} // namespace

TEST(TextEditing, KeysMoveTheCaretGrowTheSelectionAndReplaceIt) {
    test::UiClock clock;
    struct Case {
        const char* name;
        const char* text;
        bool secure, digitsOnly;
        const char* steps;    // key names, or "=TEXT" typed
        const char* result;   // the text with its caret and selection marked
        const char* proposed; // "location,length:replacement" a change
        std::optional<std::string> clipboard = std::nullopt;
    };
    const Case cases[] = {
        {"a typo in the middle of the user name", "mario.rosi", false, false,
         "home right right right right right right right right =s", "mario.ros|si", "8,0:s"},
        {"typed text replaces a selection", "abcdef", false, false,
         "shift+left shift+left shift+left =X", "abcX|", "3,3:X"},
        {"select all and delete", "abcdef", false, false, "ctrl+a backspace", "|", "0,6:"},
        {"delete takes the character after the caret", "abc", false, false,
         "home delete end delete", "bc|", "0,1:"},
        {"left collapses a selection to its start", "abcdef", false, false,
         "shift+left shift+left left =Z", "abcdZ|ef", "4,0:Z"},
        {"right collapses it to its end", "abcdef", false, false,
         "home shift+right shift+right right =Z", "abZ|cdef", "2,0:Z"},
        {"the selection shrinks back past its anchor", "abcdef", false, false,
         "left left shift+left shift+right shift+right", "abcd[e|]f", ""},
        {"cut from the caret to the start", "mario.rossi", false, false,
         "left left left left left shift+home ctrl+x", "|rossi", "0,6:", "mario."},
        {"copy, then paste at the end", "ab", false, false, "ctrl+a ctrl+c end ctrl+v", "abab|",
         "2,0:ab", "ab"},
        {"shift+end then a key", "12345", false, true, "home right shift+end =9", "19|", "1,4:9"},
        {"the delegate refuses: nothing moves", "12345", false, true, "home shift+right =x",
         "[1|]2345", "0,1:x"},
        {"a secure field gives nothing to copy or cut", "segreto", true, false,
         "ctrl+a ctrl+c ctrl+x", "[segreto|]", "", "prima"},
        {"accented letters count as one", "caffè", false, false, "left shift+left =e", "cafe|è",
         "3,1:e"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = std::make_shared<Window>();
        auto field = std::make_shared<TextField>(makeRect(20, 100, 280, 40));
        EditLog log;
        log.digitsOnly = c.digitsOnly;
        window->addSubview(field);
        field->setText(c.text);
        field->setSecureTextEntry(c.secure);
        field->setDelegate(&log);
        window->clipboard()->setText("prima");
        ASSERT_TRUE(field->becomeFirstResponder());
        EXPECT_EQ(field->caret(), codePointCount(c.text)); // the caret starts at the end
        for (const auto& step : test::words(c.steps)) {
            if (step.starts_with("=")) {
                window->insertText(step.substr(1));
            } else {
                const auto key = keyCommandNamed(step);
                ASSERT_TRUE(key) << step;
                EXPECT_TRUE(window->keyCommand(*key)) << step;
            }
        }
        EXPECT_EQ(test::marked(field->text(), field->caret(), field->selectionStart(),
                               field->selectionLength()),
                  c.result);
        EXPECT_EQ(log.proposed, c.proposed);
        EXPECT_EQ(window->clipboard()->text(), c.clipboard.value_or("prima"));
    }
}

TEST(TextEditing, AClickPutsTheCaretWhereItTouched) {
    test::UiClock clock;
    HeadlessScreen screen(std::make_shared<Window>()); // a real text measurer
    auto window = screen.screen().window();
    auto field = std::make_shared<TextField>(makeRect(20, 100, 280, 40));
    window->addSubview(field);
    field->setText("mario.rossi");
    for (const std::size_t position : {0u, 3u, 6u, 11u}) {
        const double x =
            20 + TextField::kInset +
            (position == 0
                 ? 0
                 : TextMeasurer::shared()
                       .measure(std::string("mario.rossi").substr(0, position), field->font())
                       .width);
        window->touchDown({x + 1, 120}, clock.now());
        window->touchUp({x + 1, 120}, clock.now());
        EXPECT_EQ(field->caret(), position) << "at x " << x;
        EXPECT_EQ(field->selectionLength(), 0u);
    }
    // Arrows with no field being edited page a carousel, and only then.
    field->resignFirstResponder();
    EXPECT_FALSE(window->keyCommand(KeyCommand::Right)); // no carousel here
    // A click measures the line once: the font engine's one pass gives every caret place the
    // drawing gives it (within a point), for accented letters, symbols and both faces.
    for (const Font& font : {Font::systemFont(17), Font::boldSystemFont(15)}) {
        const std::string text = "Pagamento POS - caffè \u20ac 1.234,56 \u2022\u2022\u2022 AVA";
        const auto offsets = TextMeasurer::shared().caretOffsets(text, font);
        ASSERT_EQ(offsets.size(), codePointCount(text) + 1);
        for (std::size_t i = 1; i < offsets.size(); ++i) {
            const double drawn = TextMeasurer::shared()
                                     .measure(text.substr(0, byteOffsetOfCodePoint(text, i)), font)
                                     .width;
            EXPECT_NEAR(offsets[i], drawn, 1.0) << font.name << " at " << i;
        }
    }
}
