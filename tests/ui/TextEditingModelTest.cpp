#include "ui/TextEditingModel.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

// One step: an operation by name ("type:TEXT", "left", "shift+left", "home", "end",
// "shift+end", "select-all", "backspace", "delete", "copy", "cut", "undo", "redo") and whether
// it is expected to change the text.
struct Editing {
    TextEditingModel model;
    std::vector<TextChange> proposed;
    bool refuseDigits = false;
    std::optional<std::string> clipboard;

    TextEditingModel::Filter filter() {
        return [this](const TextChange& c) {
            proposed.push_back(c);
            return !refuseDigits || c.replacement.find_first_of("0123456789") == std::string::npos;
        };
    }
    void step(const std::string& op) {
        if (op.rfind("type:", 0) == 0) {
            model.insert(op.substr(5), filter());
        } else if (op == "left" || op == "shift+left") {
            model.moveLeft(op == "shift+left");
        } else if (op == "right" || op == "shift+right") {
            model.moveRight(op == "shift+right");
        } else if (op == "home" || op == "shift+home") {
            model.moveHome(op == "shift+home");
        } else if (op == "end" || op == "shift+end") {
            model.moveEnd(op == "shift+end");
        } else if (op == "select-all") {
            model.selectAll();
        } else if (op == "backspace") {
            model.deleteBackward(filter());
        } else if (op == "delete") {
            model.deleteForward(filter());
        } else if (op == "copy") {
            clipboard = model.copy();
        } else if (op == "cut") {
            clipboard = model.cut(filter());
        } else if (op == "undo") {
            model.undo(filter());
        } else if (op == "redo") {
            model.redo(filter());
        } else {
            FAIL() << "no such step " << op;
        }
    }
};

} // namespace

TEST(TextEditingModel, EditsUndoAndRedoAsOneProposedChangeEach) {
    struct Case {
        const char* name;
        const char* start;
        bool secure, refuseDigits;
        const char* steps;
        const char* outcome;  // the text with its caret and selection marked
        const char* proposed; // "location,length:replacement" a change
        std::optional<std::string> clipboard = std::nullopt;
    };
    const Case cases[] = {
        {"typing joins one undo step, undone whole", "", false, false,
         "type:m type:a type:r type:i type:o undo", "|", "0,0:m 1,0:a 2,0:r 3,0:i 4,0:o 0,5:"},
        {"redo after undo brings the word back with the caret after it", "", false, false,
         "type:ab type:c undo redo", "abc|", "0,0:ab 2,0:c 0,3: 0,0:abc"},
        {"a caret move ends the typing step: undo takes back only what came after", "", false,
         false, "type:ab left right type:c undo", "ab|", "0,0:ab 2,0:c 2,1:"},
        {"undo of a deleted selection gives back the text and the selection", "mario.rossi", false,
         false, "home shift+right shift+right backspace undo", "[ma|]rio.rossi", "0,2: 0,0:ma"},
        {"a refused change is neither made nor remembered (set text is no step either)", "ab",
         false, true, "type:7 undo type:c undo", "ab|", "2,0:7 2,0:c 2,1:"},
        {"typing over a selection and on is one step: undo brings the selection back", "abcdef",
         false, false, "home right shift+right shift+right type:X type:Y undo", "a[bc|]def",
         "1,2:X 2,0:Y 1,2:bc"},
        {"multi-byte characters count as one: backspace and delete take whole code points",
         "è€\U0001F4B3a", false, false, "home right delete end left backspace", "è|a", "1,1: 1,1:"},
        {"copy and cut take the selection", "conto corrente", false, false,
         "home shift+right shift+right shift+right shift+right shift+right cut", "| corrente",
         "0,5:", "conto"},
        {"a secure model copies and cuts nothing", "segreto", true, false, "select-all copy cut",
         "[segreto|]", ""},
        {"plain left and right collapse a selection to its ends", "abcd", false, false,
         "home shift+end right shift+home left", "|abcd", ""},
        {"nothing to undo or redo changes nothing", "x", false, false, "undo redo backspace redo",
         "|", "0,1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editing run;
        run.model.setText(c.start);
        run.model.setSecure(c.secure);
        run.refuseDigits = c.refuseDigits;
        for (const auto& s : test::words(c.steps)) {
            run.step(s);
        }
        const auto& m = run.model;
        EXPECT_EQ(test::marked(m.text(), m.caret(), m.selectionStart(), m.selectionLength()),
                  c.outcome);
        std::string proposed;
        for (const auto& p : run.proposed) {
            proposed += (proposed.empty() ? "" : " ") + std::to_string(p.location) + "," +
                        std::to_string(p.length) + ":" + p.replacement;
        }
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(run.clipboard, c.clipboard);
    }
}

TEST(TextEditingModel, AFilterThatSetsTheTextItselfWinsOverTheProposedChange) {
    // A delegate may refuse a change by putting the text it wants (the CVV2 field cuts what is
    // pasted to three characters): the model keeps that text and applies nothing on top.
    TextEditingModel model;
    model.setText("12");
    const bool made = model.insert("345", [&](const TextChange&) {
        model.setText("123");
        return true;
    });
    EXPECT_FALSE(made);
    EXPECT_EQ(model.text(), "123");
    EXPECT_EQ(model.caret(), 3u);
    EXPECT_FALSE(model.canUndo());
    // Text that is not UTF-8 never gets in.
    EXPECT_FALSE(model.insert("\xff\xfe", {}));
    model.setText("\xc3");
    EXPECT_EQ(model.text(), "");
}
