#include "AppFixture.h"
#include "service/RemoteServiceUtil.h"
#include "store/CardList.h"

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

constexpr const char* kMovimenti = "/LumaCard/movimenti.do";
constexpr const char* kAnonima = "/LumaCard/carta_anonima.do";

} // namespace

// The application on a desktop with a keyboard of its own (no on-screen keyboard): a person
// who uses the keyboard alone, from the login to a new card.
class KeyboardAccess : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        onScreenKeyboard_ = false;
    }
    // What has the focus: its outlet name, or its class and tag.
    std::string focus() {
        const auto f = state()["focus"];
        if (f.is_null()) {
            return "none";
        }
        const std::string name = f["name"];
        return name.empty()
                   ? f["class"].get<std::string>() + "#" + std::to_string(f["tag"].get<int>())
                   : name;
    }
    // Presses Tab until the focus is on `target` (at most `limit` times).
    void tabTo(const std::string& target, int limit = 12) {
        for (int i = 0; i < limit && focus() != target; ++i) {
            run("key tab");
        }
        ASSERT_EQ(focus(), target);
    }
    std::vector<double> containerCenter() {
        const auto s = state();
        const auto* c = find(s["window"], "name", "contenitore");
        const auto& f = (*c)["frame"];
        return {f[0].get<double>() + f[2].get<double>() / 2,
                f[1].get<double>() + f[3].get<double>() / 2};
    }
};

TEST_F(KeyboardAccess, FromTheLoginToANewCardWithTheKeyboardAlone) {
    storeAnonymousCard();
    launch();
    run("wait 2");
    // The user name has the focus at start; with no on-screen keyboard the form stays put.
    EXPECT_EQ(focus(), "usernameField");
    run("type \"mario.rossi\"\nkey tab\ntype \"lumacard1\"\nwait 0.6");
    EXPECT_EQ(containerCenter(), (std::vector<double>{160, 230}));
    run("key return\nidle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");

    // The first card is the anonymous one: Tab reaches its picture, Space opens the dialog.
    tabTo("QVImageView#1");
    run("key space\nwait 0.4");
    ASSERT_TRUE(dialogShown());
    // Escape closes it as a touch on its backdrop does: no request.
    run("key escape\nwait 0.4");
    EXPECT_FALSE(dialogShown());
    EXPECT_EQ(server().knobs().requestCount(kAnonima), 0u);
    // The card has the focus again; Return opens the dialog with its field focused, whose
    // button Tab reaches (nothing behind it); Return in the field neither saves nor closes.
    EXPECT_EQ(focus(), "QVImageView#1");
    run("key return\nwait 0.4");
    ASSERT_TRUE(dialogShown());
    std::vector<std::string> order{focus()};
    for (int i = 0; i < 2; ++i) {
        run("key tab");
        order.push_back(focus());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"textCVV2", "btnSave", "textCVV2"}));
    // The dialog does not move for a keyboard that does not cover it.
    EXPECT_EQ(look("scrollView.contentOffset.1"), "0");
    run("type \"739\"\nkey return\nwait 0.4");
    EXPECT_TRUE(dialogShown());
    EXPECT_EQ(server().knobs().requestCount(kAnonima), 0u);
    run("key tab\nkey return\nwait 0.4\nidle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    ASSERT_EQ(server().knobs().requestCount(kAnonima), 1u);
    EXPECT_NE(server().knobs().lastRequest(kAnonima)->body.find("cvv2=739"), std::string::npos);

    // The statement: a search, "Esporta" by the keyboard, both alerts answered with Return; what
    // was typed while the alert was up went nowhere.
    tabTo("cercaField");
    run("type \"ric\"");
    tabTo("esportaButton");
    run("key return\nwait 0.3");
    // The format's choice: Return takes CSV.
    ASSERT_TRUE(alertShown().starts_with("Esporta i movimenti | ")) << alertShown();
    run("key return\nwait 0.3");
    ASSERT_TRUE(alertShown().starts_with("Esportazione | ")) << alertShown();
    run("type \"zz\"\nkey backspace\nkey return\nwait 0.3");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(text("cercaField"), "ric");
    EXPECT_EQ(focus(), "esportaButton");
    // A toggle by the keyboard.
    tabTo("filtroPagamenti", 20);
    run("key space\nwait 0.3");
    EXPECT_EQ(look("filtroPagamenti.selected"), "true");
    // Escape goes back, as "Indietro".
    run("key escape\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");

    // To the add page by the arrows, its picture by Tab, Return: the editor, filled by the
    // keyboard, its "Aggiungi" pressed by Return.
    for (int i = 0; i < 6; ++i) {
        run("key right\nwait 0.4");
    }
    tabTo("QVImageView#" + look("pageControl.numberOfPages"));
    run("key return\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    tabTo("nomeCarta");
    run("type \"Spesa\"\nkey tab\ntype \"5375123499990001\"\nkey tab\ntype \"05/29\"");
    tabTo("aggiungiButton");
    run("key return\nwait 0.6\nidle 10\nwait 0.6");
    EXPECT_EQ(state()["visible"], "CarteViewController") << state()["alert"].dump();
    bool found = false;
    const auto stored = RemoteServiceUtil::caricaCartaPerUtente("mario.rossi");
    ASSERT_TRUE(stored);
    for (const auto& c : *stored) {
        found = found || (c->serial() == "5375123499990001" && c->anonima());
    }
    EXPECT_TRUE(found) << "the new card is not in the card file";
    EXPECT_EQ(server().knobs().requestCount(kMovimenti), 0u);
}

// The focus stays on what a person sees: it follows the carousel's page, comes back after an
// alert and after a screen left by Escape, and starts in the first field of a form.
TEST_F(KeyboardAccess, TheFocusIsOnWhatIsShown) {
    launch();
    run("wait 2\ntype \"mario.rossi\"\nkey tab\ntype \"sbagliata\"\nkey return\nidle 20\nwait 0.6");
    ASSERT_EQ(alertShown(), "Attenzione | Nome utente o password non corretti. | OK");
    run("key return\nwait 0.4");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(focus(), "passwordField"); // back where it was: Return tries again
    run("key backspace\nkey backspace\nkey backspace\nkey backspace\nkey backspace\n"
        "key backspace\nkey backspace\nkey backspace\nkey backspace\ntype \"lumacard1\"\n"
        "key return\nidle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");

    // Right pages the carousel and the ring goes with it: Return asks for the card in view.
    tabTo("QVImageView#1");
    run("key right\nwait 0.1");
    EXPECT_EQ(focus(), "QVImageView#2");
    run("wait 0.6");
    EXPECT_EQ(look("pageControl.selectedPage labelSerial.text"), "2; **** **** **** 4329");
    run("key return\nwait 0.4\nidle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    const auto asked = server().knobs().lastRequest(kMovimenti);
    ASSERT_TRUE(asked);
    EXPECT_NE(asked->body.find("selPan=0001234568"), std::string::npos) << asked->body;
    // Escape back: the ring on the card shown.
    run("key escape\nwait 0.6\nidle 10\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(focus(), "QVImageView#2");

    // Its editor starts in the name; Return in the last field saves.
    tabTo("btnAlias");
    run("key return\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(focus(), "nomeCarta");
    run("type \"Viaggi\"\nkey return\nidle 10\nwait 0.6");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(look("btnAlias.title"), "Viaggi");
}

// A month of the chart reached by Tab comes into sight with the legend above it and its
// figures, between the navigation bar and the total line.
TEST_F(KeyboardAccess, AMonthFocusedByTabIsWholeWithItsLegend) {
    toWallet();
    run("tap @btnScegli\nidle 20\nwait 0.6\ntap @graficoButton\nwait 0.8");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    for (int i = 0; i < 20 && !focus().starts_with("MonthBarView"); ++i) {
        run("key tab\nwait 0.1");
    }
    ASSERT_TRUE(focus().starts_with("MonthBarView")) << focus();
    run("wait 0.5");
    const auto s = state();
    const double total = node(s, "totaleBar")["windowFrame"][1].get<double>();
    auto inSight = [&](const ordered_json& frame, const std::string& what) {
        EXPECT_GE(frame[1].get<double>(), 44) << what;
        EXPECT_LE(frame[1].get<double>() + frame[3].get<double>(), total) << what;
    };
    const ordered_json* focused = nullptr;
    visit(s["window"], [&](const ordered_json& n) {
        if (n["class"] == "MonthBarView" &&
            n.value("states", "").find("focused") != std::string::npos) {
            focused = &n;
        }
        return true;
    });
    ASSERT_TRUE(focused);
    inSight((*focused)["windowFrame"], "the focused month");
    const auto* legend = find(s["window"], "text", "Entrate");
    ASSERT_TRUE(legend);
    inSight((*legend)["windowFrame"], "the legend's last entry");
}
