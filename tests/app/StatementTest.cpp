#include "AppFixture.h"
#include "CaseName.h"
#include "ReplyXml.h"
#include "app/chrome/VestrinoVC.h"
#include "app/statement/TransazioniViewController.h"
#include "app/wallet/CarteViewController.h"
#include "core/Utf8.h"
#include "service/Constants.h"
#include "store/CardList.h"
#include "store/OfflineCopy.h"
#include "store/OfflineDataCoding.h"
#include "ui/Style.h"

#include <fstream>
#include <functional>
#include <set>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

constexpr const char* kMovimenti = "/LumaCard/movimenti.do";
constexpr const char* kAnonima = "/LumaCard/carta_anonima.do";

// What the tests touch: a control by its outlet name ("@name"), or a place in window points.
const std::string kChoose = "@btnScegli"; // "Scegli questa carta"
const std::string kInfo = "@infoButton";
const std::string kBack = "@indietroButton";
const std::string kCvv2Field = "@textCVV2"; // the dialog's field
const std::string kSave = "@btnSave";       // the dialog's save button, wherever it is
const std::string kBackdrop = "160 420";    // outside the dialog
const std::string kFirstRow = "160 333";    // the statement's first row

class StatementTest : public test::AppFixture {
protected:
    std::shared_ptr<TransazioniViewController> statementScreen() {
        return std::dynamic_pointer_cast<TransazioniViewController>(
            delegate_->navigationController()->visibleViewController());
    }
    std::shared_ptr<CarteViewController> wallet() {
        for (const auto& c : delegate_->navigationController()->viewControllers()) {
            if (auto w = std::dynamic_pointer_cast<CarteViewController>(c)) {
                return w;
            }
        }
        return nullptr;
    }
    // The header reads as a person expects: the masked number starts on the card title's left
    // edge, in the last digits' size and colour, and ends a space before them; the holder's
    // name follows its caption after a space.
    static void expectHeaderLinedUp(const ordered_json& s) {
        const auto& title = node(s, "tipoCarta");
        const auto& mask = node(s, "asterisks");
        const auto& digits = node(s, "lastDigit");
        EXPECT_EQ(mask["frame"][0], title["frame"][0]);
        EXPECT_EQ(mask["alignment"], "left");
        EXPECT_EQ(title["alignment"], "left");
        EXPECT_EQ(mask["font"], digits["font"]);
        EXPECT_EQ(mask["textColor"], digits["textColor"]);
        EXPECT_EQ(mask["frame"][1], digits["frame"][1]);
        const double maskEnd = mask["frame"][0].get<double>() + mask["textSize"][0].get<double>();
        EXPECT_LE(maskEnd, digits["frame"][0].get<double>() - 2);
        EXPECT_GE(maskEnd, digits["frame"][0].get<double>() - 6);
        const auto& caption = node(s, "intestatarioPrefix");
        if (!caption["hidden"].get<bool>()) {
            const double captionEnd =
                caption["frame"][0].get<double>() + caption["textSize"][0].get<double>();
            const double holderX = node(s, "intestatario")["frame"][0].get<double>();
            EXPECT_GE(holderX - captionEnd, 2);
            EXPECT_LE(holderX - captionEnd, 6);
        }
    }
    // The header's lines follow one another down the page with no blank line among them (a
    // hidden line takes no room), none over another, and the rest of the page follows the
    // number's line the same way; the page holds what it shows and ends with it.
    static void expectHeaderClosedUp(const ordered_json& s) {
        std::vector<std::string> lines{"titolo"};
        if (!node(s, "intestatario")["hidden"].get<bool>()) {
            lines.push_back("intestatario");
        }
        for (const char* name : {"tipoCarta", "asterisks", "toMove"}) {
            lines.push_back(name);
        }
        const auto top = [&](const std::string& n) {
            return node(s, n.c_str())["frame"][1].get<double>();
        };
        const auto bottom = [&](const std::string& n) {
            return top(n) + node(s, n.c_str())["frame"][3].get<double>();
        };
        const double lineHeight = node(s, "asterisks")["frame"][3].get<double>();
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_GE(top(lines[i]), bottom(lines[i - 1])) << lines[i] << " over " << lines[i - 1];
            EXPECT_LT(top(lines[i]) - bottom(lines[i - 1]), lineHeight)
                << "a blank line between " << lines[i - 1] << " and " << lines[i];
        }
        EXPECT_EQ(node(s, "scroll")["contentSize"][1].get<double>(), bottom("toMove"));
    }
    // The first `n` rows on screen, top first: "text = amount; " each.
    std::string rowsShown(std::size_t n) {
        const auto s = state();
        std::vector<const ordered_json*> cells;
        for (const auto& c : node(s, "tableView")["children"]) {
            if (c["class"] == "MovimentoCell") {
                cells.push_back(&c);
            }
        }
        std::sort(cells.begin(), cells.end(), [](const ordered_json* a, const ordered_json* b) {
            return (*a)["frame"][1].get<double>() < (*b)["frame"][1].get<double>();
        });
        std::string out;
        for (std::size_t i = 0; i < std::min(n, cells.size()); ++i) {
            out += plain((*find(*cells[i], "name", "desc"))["text"]) + " = " +
                   plain((*find(*cells[i], "name", "importo"))["text"]) + "; ";
        }
        return out;
    }
    // The types of the rows the screen lists now.
    std::set<int> listedTypes() {
        std::set<int> types;
        for (const auto& m : statementScreen()->movimentiFiltrati()) {
            types.insert(m->tipoMovimento());
        }
        return types;
    }
    // A slow drag of the filter strip by one page: toward its end (right) or its start.
    // The strip shows two toggles a page, so two drags reach either end.
    void dragStrip(bool towardEnd) {
        run(towardEnd ? "touch-down 260 285\ntouch-move 200 285\ntouch-move 60 285\nwait 0.3\n"
                        "touch-up 60 285\nwait 0.5"
                      : "touch-down 60 285\ntouch-move 120 285\ntouch-move 260 285\nwait 0.3\n"
                        "touch-up 260 285\nwait 0.5");
    }
    // Taps the filter toggle with the title, the strip at either end first.
    void toggle(const std::string& title, bool rightEnd) {
        dragStrip(rightEnd);
        dragStrip(rightEnd);
        tapTitled(title);
        run("wait 0.3");
    }
};

} // namespace

TEST_F(StatementTest, ACardOfTheAccountFromChoiceToDetailAndBack) {
    toWallet();
    // The service takes its time: the activity alert is up meanwhile.
    server().knobs().setFault(kMovimenti, {.delay = std::chrono::milliseconds(300)});
    run("tap " + kChoose + "\nwait 0.1");
    EXPECT_EQ(alertShown(), "Attendere | Recupero informazioni carta... | Annulla");
    EXPECT_EQ(state()["alert"]["activity"], true);
    run("idle 20\nwait 0.6");

    // The service was asked by the card's code, never its number.
    ASSERT_EQ(server().knobs().requestCount(kMovimenti), 1u);
    const auto body = server().knobs().lastRequest(kMovimenti)->body;
    EXPECT_NE(body.find("selPan=0001234567"), std::string::npos) << body;
    EXPECT_EQ(body.find("5333171012345670"), std::string::npos) << body;

    auto s = state();
    EXPECT_EQ(s["visible"], "TransazioniViewController");
    // No name given to the card; the service's no-break space gone from the amounts.
    EXPECT_EQ(look("tipoCarta.text lastDigit.text intestatario.text intestatarioPrefix.hidden "
                   "dataSaldo.text saldoContabile.text saldoDisponibile.text"),
              "Carta Lumacard; 5670; MARIO ROSSI; false; SALDO AL 30/11/2026; 1219,40 €; "
              "1204,40 €");
    EXPECT_EQ(alertShown(), "");
    expectHeaderLinedUp(s);
    expectHeaderClosedUp(s);

    // Newest value date first; the two of 13/11 in the service's order.
    EXPECT_EQ(rowsShown(3), "13/11/2026 PAGAMENTO POS DISTRIBUTORE ENI A1 = - 91,70 €; "
                            "13/11/2026 RICARICA CARTA DA SPORTELLO = + 425,81 €; "
                            "10/11/2026 RICARICA CARTA LUMACARD DA CONTO BANCOPOSTA = + 83,49 €; ");
    EXPECT_EQ(listedTypes(), (std::set<int>{-1, 0, 1, 2, 3, 4}));
    EXPECT_EQ(statementScreen()->movimentiFiltrati().size(), 42u);

    // A row's detail, in full; the row stays selected.
    run("tap " + kFirstRow + "\nwait 0.2");
    EXPECT_EQ(alertShown(), "Dettaglio Movimento | Causale: PAGAMENTO POS DISTRIBUTORE ENI A1\n"
                            "Importo: - 91,70 €\nData Contabile: 13/11/2026\nData Valuta: "
                            "13/11/2026 | OK");
    tapTitled("OK");
    run("wait 0.2");
    EXPECT_EQ(alertShown(), "");
    s = state();
    const auto* first = find(s["window"], "class", "MovimentoCell");
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)["selected"], true);

    // Back to the wallet, on the page the card was chosen from; the toolbar works as before.
    run("tap " + kBack + "\nidle 10\nwait 0.6");
    s = state();
    EXPECT_EQ(s["visible"], "CarteViewController");
    EXPECT_EQ(node(s, "pageControl")["selectedPage"], 1);
}

TEST_F(StatementTest, FilterTogglesShowTheUnionOfTheirTypes) {
    toWallet();
    run("tap " + kChoose + "\nidle 20\nwait 0.6");
    ASSERT_TRUE(statementScreen());
    struct Step {
        const char* title;
        bool rightEnd;
        std::set<int> shown; // types listed afterwards
        std::vector<std::int32_t> filters;
    };
    const Step steps[] = {
        {"Pagamenti", true, {4}, {4}},
        {"Prelievi", false, {0, 4}, {4, 0}},
        {"Pagamenti", true, {0}, {0}},
        {"Prelievi", false, {-1, 0, 1, 2, 3, 4}, {}},
    };
    for (const auto& step : steps) {
        toggle(step.title, step.rightEnd);
        EXPECT_EQ(listedTypes(), step.shown) << step.title;
        EXPECT_EQ(statementScreen()->filters(), step.filters) << step.title;
        const auto& rows = statementScreen()->movimenti();
        const auto expected =
            static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [&](const auto& m) {
                return step.shown.count(m->tipoMovimento());
            }));
        EXPECT_EQ(statementScreen()->movimentiFiltrati().size(), expected) << step.title;
        const auto s = state();
        EXPECT_EQ(node(s, "tableView")["contentSize"][1].get<double>(), expected * 44.0);
        const auto* button = find(s["window"], "title", step.title);
        ASSERT_TRUE(button);
        const bool on = std::find(step.filters.begin(), step.filters.end(),
                                  (*button)["tag"].get<int>()) != step.filters.end();
        EXPECT_EQ((*button)["selected"], on) << step.title;
        // A toggle that is on shows the selected picture; every row a type switched on.
        EXPECT_EQ((*button)["image"],
                  on ? "vestrino_button_selected_320.png" : "vestrino_button_filtro_320.png")
            << step.title;
    }
    // The strip's arrows: at the left end only the right one shows, at the right end only the
    // left one.
    auto arrows = [this] {
        const auto s = state();
        return std::make_pair(node(s, "frecciaSx")["alpha"].get<double>(),
                              node(s, "frecciaDx")["alpha"].get<double>());
    };
    // Wherever the strip rests, every toggle is whole or out of sight: none is cut at an edge.
    auto noToggleCut = [this] {
        const auto s = state();
        const auto& strip = node(s, "filtroScroll");
        const double from = strip["contentOffset"][0].get<double>();
        const double to = from + strip["frame"][2].get<double>();
        for (const auto& toggle : strip["children"]) {
            const double x = toggle["frame"][0].get<double>();
            const double end = x + toggle["frame"][2].get<double>();
            if (end > from && x < to && (x < from || end > to)) {
                ADD_FAILURE() << toggle["title"] << " cut at offset " << from;
            }
        }
    };
    dragStrip(false);
    for (const auto& [towardEnd, left, right] :
         {std::tuple{false, 0.0, 1.0}, {true, 1.0, 1.0}, {true, 1.0, 0.0}}) {
        dragStrip(towardEnd);
        EXPECT_EQ(arrows(), std::make_pair(left, right));
        noToggleCut();
    }
    // A touch on an arrow pages the strip as a drag does; a hidden arrow takes none.
    for (const auto& [arrow, offset, left, right] : {std::tuple{"@frecciaDx", 336.0, 1.0, 0.0},
                                                     {"@frecciaSx", 224.0, 1.0, 1.0},
                                                     {"@frecciaSx", 0.0, 0.0, 1.0},
                                                     {"@frecciaSx", 0.0, 0.0, 1.0},
                                                     {"@frecciaDx", 224.0, 1.0, 1.0}}) {
        tapTitled(arrow + 1, "name"); // where the arrow is, shown or not
        run("wait 0.5");
        EXPECT_EQ(look("filtroScroll.contentOffset.0"), test::AppFixture::plain(offset)) << arrow;
        EXPECT_EQ(arrows(), std::make_pair(left, right)) << arrow;
        noToggleCut();
    }
    // A short drag that is let go settles back on whole toggles too.
    run("touch-down 200 285\ntouch-move 180 285\ntouch-move 170 285\nwait 0.3\ntouch-up 170 "
        "285\nwait 0.5");
    noToggleCut();
    // Every title reads whole: none is wider than its toggle less the round ends.
    const auto s = state();
    for (const auto& toggle : node(s, "filtroScroll")["children"]) {
        EXPECT_LE(toggle["titleSize"][0].get<double>(), toggle["frame"][2].get<double>() - 16)
            << toggle["title"];
        EXPECT_EQ(toggle["title"].get<std::string>().find('.'), std::string::npos)
            << toggle["title"]; // words, not abbreviations
    }
}

namespace {

struct Cvv2Case {
    const char* name;
    const char* lines; // the script's, after the field was touched
    bool viaBackdrop;
    std::string shownBeforeSave; // the field's text, one * a character
    bool fetches;
};
const Cvv2Case kCvv2Cases[] = {
    {"three characters", "type \"7\"\ntype \"3\"\ntype \"9\"", false, "***", true},
    {"two characters", "type \"7\"\ntype \"3\"", false, "**", false},
    {"a fourth character is refused", "type \"7\"\ntype \"3\"\ntype \"9\"\ntype \"1\"", false,
     "***", true},
    {"four pasted at once stay four", "type \"7391\"", false, "****", false},
    {"five pasted, then a key cuts to three", "type \"73955\"\ntype \"8\"", false, "***", true},
    {"backspace at every length",
     "type \"73955\"\nkey backspace\nkey backspace\nkey backspace\ntype \"9\"", false, "***", true},
    {"pasted with Ctrl+V", "clipboard \"739\"\nkey ctrl+v", false, "***", true},
    {"four pasted with Ctrl+V stay four", "clipboard \"7391\"\nkey ctrl+v", false, "****", false},
    {"nothing typed", "", false, "", false},
    {"the backdrop cancels even three", "type \"739\"", true, "***", false},
};
// The case's name where GoogleTest lists the parameter.
void PrintTo(const Cvv2Case& c, std::ostream* os) {
    *os << c.name;
}

class Cvv2DialogTest : public StatementTest, public ::testing::WithParamInterface<Cvv2Case> {};

} // namespace

TEST_P(Cvv2DialogTest, SendsOnlyThreeTypedCharacters) {
    const auto& c = GetParam();
    storeAnonymousCard();
    toWallet();
    server().knobs().clearCounts();
    run("tap " + kChoose + "\nwait 0.3");
    ASSERT_TRUE(dialogShown());
    EXPECT_TRUE(state()["alert"].is_null());
    // The panel has an alert's corners.
    EXPECT_EQ(node(state(), "pannello")["cornerRadius"], ui::style::kPanelCornerRadius);
    run("tap " + kCvv2Field + "\nwait 0.4");
    auto s = state();
    EXPECT_EQ(node(s, "scrollView")["contentOffset"], ordered_json({0, 50}));
    run(c.lines);
    run("key return"); // accepted, and nothing else
    EXPECT_TRUE(dialogShown());
    EXPECT_EQ(text("textCVV2"), c.shownBeforeSave);
    run(std::string("tap ") + (c.viaBackdrop ? kBackdrop : kSave) + "\nwait 0.1");
    EXPECT_TRUE(dialogShown()); // fading out
    run("wait 0.3\nidle 20\nwait 0.6");
    EXPECT_FALSE(dialogShown());
    EXPECT_EQ(server().knobs().requestCount(kAnonima), c.fetches ? 1u : 0u);
    s = state();
    if (c.fetches) {
        const auto body = server().knobs().lastRequest(kAnonima)->body;
        EXPECT_NE(body.find("numeroCarta=5375123400001117"), std::string::npos) << body;
        EXPECT_NE(body.find("dataAA=28"), std::string::npos) << body;
        EXPECT_NE(body.find("dataMM=04"), std::string::npos) << body;
        // What was typed, cut back to three: nothing else is ever sent.
        EXPECT_NE(body.find("cvv2=739"), std::string::npos) << body;
        EXPECT_EQ(s["visible"], "TransazioniViewController") << body;
    } else {
        EXPECT_EQ(s["visible"], "CarteViewController");
        EXPECT_TRUE(s["alert"].is_null()); // no message
    }
}

INSTANTIATE_TEST_SUITE_P(Typing, Cvv2DialogTest, ::testing::ValuesIn(kCvv2Cases),
                         [](const auto& info) { return test::caseName(info.param.name); });

TEST_F(StatementTest, AnAnonymousCardsStatementAndAWrongCode) {
    storeAnonymousCard();
    toWallet();
    // A wrong code: the service's own message.
    run("tap " + kChoose + "\nwait 0.3\ntap " + kCvv2Field + "\nwait 0.4\n" + "type \"123\"\ntap " +
        kSave + "\nwait 0.4\nidle 20\nwait 0.3");
    EXPECT_EQ(alertShown(), "Errore | I dati della carta non sono corretti. | OK");
    tapTitled("OK");
    run("wait 0.3");
    // The right one; the dialog starts empty again.
    run("tap " + kChoose + "\nwait 0.3");
    EXPECT_EQ(text("textCVV2"), "");
    run("tap " + kCvv2Field + "\nwait 0.4\ntype \"739\"\ntap " + kSave +
        "\nwait 0.4\nidle 20\nwait 0.6");
    const auto s = state();
    ASSERT_EQ(s["visible"], "TransazioniViewController");
    // No holder on an anonymous card: the header is shorter and what follows moves up.
    EXPECT_EQ(look("intestatario.hidden intestatarioPrefix.hidden tipoCarta.text lastDigit.text "
                   "saldoDisponibile.text"),
              "true; true; Carta Lumacard; 1117; 150,00 €");
    expectHeaderLinedUp(s);
    expectHeaderClosedUp(s);
    EXPECT_EQ(rowsShown(2), "31/10/2026 COMMISSIONE RICARICA = - 1,00 €; 12/10/2026 PRELIEVO ATM "
                            "LUMASPOT UFFICIO TORINO CENTRO = - 50,00 €; ");
    // The code went with its one query: neither the chosen card's copy in memory nor any
    // stored or cached card keeps it.
    EXPECT_EQ(wallet()->currentCarta()->cvv2(), std::nullopt);
    const auto stored = RemoteServiceUtil::caricaCartaPerUtente("mario.rossi");
    ASSERT_TRUE(stored);
    for (const auto& card : *stored) {
        EXPECT_EQ(std::dynamic_pointer_cast<CartaDiPagamentoEx>(card), nullptr);
    }
}

TEST_F(StatementTest, TheBarsIgnoreTouchesWhileTheDialogIsUp) {
    storeAnonymousCard();
    toWallet();
    // The toolbar does not take the touch: it lands on the dialog's backdrop behind it, which
    // closes the dialog as any touch outside it does.
    run("tap " + kChoose + "\nwait 0.3");
    auto* nav = delegate_->navigationController().get();
    EXPECT_FALSE(nav->toolbar()->userInteractionEnabled());
    EXPECT_FALSE(nav->navigationBar()->userInteractionEnabled());
    run("tap " + kInfo + "\nwait 0.1");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(state()["screens"].size(), 2u);
    run("wait 0.4");
    EXPECT_FALSE(dialogShown());
    EXPECT_EQ(state()["visible"], "CarteViewController");
    // The same with a typed code and the navigation bar: nothing reaches the bar, nothing is
    // fetched.
    run("tap " + kChoose + "\nwait 0.3\ntap " + kCvv2Field +
        "\nwait 0.4\ntype \"739\"\ntap 160 20\nwait 0.4\nidle 10");
    EXPECT_FALSE(dialogShown());
    EXPECT_EQ(server().knobs().requestCount(kAnonima), 0u);
    // Once the dialog has gone, the toolbar works again.
    EXPECT_TRUE(nav->toolbar()->userInteractionEnabled());
    EXPECT_TRUE(nav->navigationBar()->userInteractionEnabled());
    run("tap " + kInfo + "\nwait 0.6");
    EXPECT_EQ(state()["visible"], "InfoViewController");
}

namespace {

struct FailedFetchCase {
    const char* name;
    std::optional<lumacard::Fault> fault;
    bool expireSession;
    std::string alert;
    int tag;
    std::string afterOk; // the visible screen once the alert is answered
};
const FailedFetchCase kFailedFetchCases[] = {
    {"the connection drops", lumacard::Fault{.closeConnection = true}, false,
     "Errore | Impossibile recuperare le informazioni sulla carta | OK", 0, "CarteViewController"},
    {"the service says KO with a message",
     lumacard::Fault{.body =
                         lumacard::ReplyXml::ko("errore_generico", "Servizio non disponibile.")},
     false, "Errore | Servizio non disponibile. | OK", 0, "CarteViewController"},
    {"a KO without a message",
     lumacard::Fault{.body = lumacard::ReplyXml::ko("errore_generico", "")}, false,
     "Errore | Problema temporaneo, riprovare più tardi. | OK", 0, "CarteViewController"},
    {"the session has expired", std::nullopt, true,
     "Attenzione | La sessione è scaduta. Effettuare di nuovo l'accesso. | Ok",
     kForcedLogoutAlertTag, "HomeViewController"},
};
// The case's name where GoogleTest lists the parameter.
void PrintTo(const FailedFetchCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedFetchTest : public StatementTest,
                        public ::testing::WithParamInterface<FailedFetchCase> {};

} // namespace

TEST_P(FailedFetchTest, EndsInAnAlertOrTheForcedLogout) {
    const auto& c = GetParam();
    toWallet();
    if (c.fault) {
        server().knobs().setFault(kMovimenti, *c.fault);
    }
    if (c.expireSession) {
        server().sessions().expireAll();
    }
    run("tap " + kChoose + "\nidle 20\nwait 0.3");
    EXPECT_EQ(alertShown(), c.alert);
    auto s = state();
    ASSERT_FALSE(s["alert"].is_null());
    EXPECT_EQ(s["alert"]["tag"], c.tag);
    EXPECT_EQ(s["alert"]["activity"], false);
    EXPECT_EQ(s["visible"], "CarteViewController");
    tapTitled(s["alert"]["buttons"][0].get<std::string>());
    run("idle 10\nwait 0.6");
    s = state();
    EXPECT_EQ(s["visible"], c.afterOk);
    EXPECT_TRUE(s["alert"].is_null());
}

INSTANTIATE_TEST_SUITE_P(Statement, FailedFetchTest, ::testing::ValuesIn(kFailedFetchCases),
                         [](const auto& info) { return test::caseName(info.param.name); });

TEST_F(StatementTest, ADragThatStartsOnACardPagesAndAPressOpensIt) {
    toWallet();
    // The drag starts on the card's picture: the carousel pages, nothing is chosen.
    run("drag 280 150 40 150 0.3\nwait 0.8");
    auto s = state();
    EXPECT_EQ(node(s, "pageControl")["selectedPage"], 2);
    EXPECT_EQ(s["visible"], "CarteViewController");
    EXPECT_TRUE(s["alert"].is_null());
    EXPECT_EQ(server().knobs().requestCount(kMovimenti), 0u);
    // (A press that turns into a drag is the carousel card's own test.)
    // A finger that stays on the picture chooses the card when it lifts.
    server().knobs().setFault(kMovimenti, {.delay = std::chrono::milliseconds(300)});
    run("touch-down 160 150\nwait 0.3");
    EXPECT_TRUE(state()["alert"].is_null());
    run("touch-up 160 150\nwait 0.05");
    EXPECT_EQ(state()["alert"]["title"], "Attendere");
    run("idle 20\nwait 0.6");
    EXPECT_EQ(state()["visible"], "TransazioniViewController");
    ASSERT_EQ(server().knobs().requestCount(kMovimenti), 1u);
    EXPECT_NE(server().knobs().lastRequest(kMovimenti)->body.find("selPan=0001234568"),
              std::string::npos);
    EXPECT_EQ(text("lastDigit"), "4329");
    // A quick tap chooses too (back on the wallet first).
    run("tap " + kBack + "\nidle 10\nwait 0.6\ntap 160 150\nidle 20\nwait 0.6");
    EXPECT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_EQ(text("lastDigit"), "4329"); // the same page, from the session's cache
}

// The application as a person runs it: after an anonymous card's statement, the typed code is
// in none of what the program wrote or printed, nor in the card file once decrypted.
TEST_F(StatementTest, TheTypedCodeIsNowhereAfterwards) {
    const auto docs = tempDir() / "cvv2-docs";
    const auto out = tempDir() / "cvv2-out";
    std::filesystem::remove_all(docs);
    std::filesystem::remove_all(out);
    storeAnonymousCard(docs);
    const auto script = tempDir() / "cvv2.script";
    std::ofstream(script) << "wait 2\ntap @usernameField\ntype \"mario.rossi\"\nkey return\n"
                             "type \"lumacard1\"\nkey return\nidle 20\nwait 0.6\n"
                          << "tap " << kChoose << "\nwait 0.3\ntap " << kCvv2Field
                          << "\nwait 0.4\ntype \"7\"\ntype \"3\"\ntype \"9\"\nsnapshot typed\ntap "
                          << kSave << "\nwait 0.4\nidle 20\nwait 0.6\nsnapshot statement\n";
    const auto log = tempDir() / "cvv2.log";
    ASSERT_EQ(runApp(script, docs, out, "", "> '" + log.string() + "' 2>&1"), 0);
    ASSERT_EQ(server().knobs().requestCount(kAnonima), 1u);
    EXPECT_NE(server().knobs().lastRequest(kAnonima)->body.find("cvv2=739"), std::string::npos);

    auto contains = [](const std::filesystem::path& file, const std::string& needle) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        return bytes.find(needle) != std::string::npos;
    };
    EXPECT_FALSE(contains(log, "739"));
    std::size_t texts = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(out)) {
        if (e.path().extension() == ".json") {
            ++texts;
            EXPECT_FALSE(contains(e.path(), "739")) << e.path();
        }
    }
    EXPECT_EQ(texts, 2u);
    const std::string statement = (out / "statement.json").string();
    EXPECT_TRUE(contains(statement, "TransazioniViewController"));
    // The offline copy, opened with the password, holds nothing of the code either.
    const auto copy = OfflineCopy::open(OfflineCopy::pathFor(docs, "mario.rossi"), "lumacard1");
    ASSERT_EQ(copy.state, OfflineCopy::State::Opened);
    EXPECT_EQ(OfflineDataCoding::encode(*copy.data).find("739"), std::string::npos);
    EXPECT_EQ(copy.data->statements.size(), 1u);
    // The card file: every card there, decrypted, carries nothing of the code.
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(docs)) {
        if (e.path() == OfflineCopy::pathFor(docs, "mario.rossi")) {
            continue;
        }
        ++files;
        const auto cards = CardList::loadCardListWithFile(e.path());
        ASSERT_TRUE(cards) << e.path();
        for (const auto& card : *cards) {
            for (const auto& field : {card->serial(), card->desc(), card->alias(),
                                      card->intestatario(), card->dataAA(), card->dataMM()}) {
                EXPECT_EQ(field.value_or("").find("739"), std::string::npos);
            }
        }
    }
    EXPECT_EQ(files, 1u);
}

// The list scrolls inside the page: moving the content up, the page goes first (the header
// leaves) and then the list; moving it down, the list goes back to its top first, then the page.
TEST_F(StatementTest, ThePageScrollsBeforeTheListGoingUpAndAfterItGoingDown) {
    toWallet();
    run("drag 280 150 40 150 0.1\nwait 0.8"); // the card with 563 transactions
    run("tap " + kChoose + "\nidle 20\nwait 0.6");
    ASSERT_EQ(statementScreen()->movimenti().size(), 563u);
    auto offsets = [this] {
        const auto s = state();
        return std::make_pair(node(s, "scroll")["contentOffset"][1].get<double>(),
                              node(s, "tableView")["contentOffset"][1].get<double>());
    };
    // A slow drag (held still before lifting: no flick) of 300 points.
    auto drag = [this](int y0, int y1) {
        run("touch-down 160 " + std::to_string(y0) + "\ntouch-move 160 " +
            std::to_string((y0 + y1) / 2) + "\ntouch-move 160 " + std::to_string(y1) +
            "\nwait 0.3\ntouch-up 160 " + std::to_string(y1) + "\nwait 0.8");
    };
    drag(400, 100);
    EXPECT_EQ(offsets(), std::make_pair(254.0, 0.0)); // the page to its end (690 - 436)
    drag(400, 100);
    EXPECT_EQ(offsets(), std::make_pair(254.0, 300.0));
    drag(100, 250);
    EXPECT_EQ(offsets(), std::make_pair(254.0, 150.0));
    drag(100, 400);
    EXPECT_EQ(offsets(), std::make_pair(254.0, 0.0)); // the list back to its top first
    drag(100, 400);
    EXPECT_EQ(offsets(), std::make_pair(0.0, 0.0));
    EXPECT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_TRUE(state()["alert"].is_null()); // no row was chosen on the way
}

// The count and total are in sight whenever the list is: under the rows of a short list, along
// the bottom of the page shown over a long one, and still there once the page has scrolled; an
// empty list says "Nessun movimento" and why.
TEST_F(StatementTest, TheTotalIsInSightAndAnEmptyListSaysSo) {
    toWallet();
    struct Case {
        std::size_t rows;
        const char* search; // typed into the search field, if anything
        const char* empty;  // what the empty list says; nullptr: rows show
    };
    const Case cases[] = {
        {1, nullptr, nullptr},
        {2, nullptr, nullptr},
        {200, nullptr, nullptr},
        {0, nullptr, "Nessun movimento"},
        {3, "nessuna corrispondenza", "Nessun movimento per la ricerca"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        ListaMovimenti list;
        for (std::size_t i = 0; i < c.rows; ++i) {
            auto m = std::make_shared<Movimento>();
            m->setDescrizione("PAGAMENTO POS " + std::to_string(i));
            m->setAddebiti(std::string("1,00"));
            m->setTipoMovimento(4);
            list.push_back(m);
        }
        auto screen = std::make_shared<TransazioniViewController>();
        screen->setMovimenti(std::move(list));
        delegate_->navigationController()->pushViewController(screen, false);
        run("wait 0.5");
        if (c.search) {
            tapTitled("cercaField", "name");
            run(std::string("type \"") + c.search + "\"\nwait 0.3");
        }
        for (const double scrolled : {0.0, 120.0}) {
            SCOPED_TRACE(scrolled);
            std::dynamic_pointer_cast<ui::ScrollView>(screen->outlet("scroll"))
                ->setContentOffset({0, scrolled});
            run("wait 0.1");
            const auto s = state();
            const auto& table = node(s, "tableView")["windowFrame"];
            const auto& total = node(s, "totaleLabel")["windowFrame"];
            const double pageBottom = 436; // the toolbar's top
            EXPECT_GE(total[1].get<double>(), table[1].get<double>());
            EXPECT_LE(total[1].get<double>() + total[3].get<double>(), pageBottom);
            const double rowsBottom =
                table[1].get<double>() +
                44.0 * static_cast<double>(std::max<std::size_t>(c.search ? 1 : c.rows, 1));
            if (rowsBottom + 26 <= pageBottom) {
                EXPECT_EQ(total[1].get<double>(), rowsBottom + 2) << "right under the rows";
            }
            const auto& vuoto = node(s, "vuoto");
            EXPECT_EQ(vuoto["hidden"].get<bool>(), c.empty == nullptr);
            if (c.empty) {
                EXPECT_EQ(vuoto["text"], c.empty);
            }
        }
        delegate_->navigationController()->popViewControllerAnimated(false);
        run("wait 0.3");
    }
}

// Nothing keeps looking pressed once what it started is over: a button let go outside itself,
// the toolbar's, the export's alert dismissed, a toggle's press turned into a drag of the strip.
TEST_F(StatementTest, NothingStaysHighlightedAfterItsAction) {
    toWallet();
    run("tap " + kChoose + "\nidle 20\nwait 0.6");
    ASSERT_TRUE(statementScreen());
    auto highlighted = [this] {
        std::vector<std::string> lit;
        visit(state()["window"], [&](const ordered_json& n) {
            if (n.value("highlighted", false)) {
                lit.push_back(n.value("name", n.value("class", std::string())));
            }
            return true;
        });
        return lit;
    };
    struct Step {
        const char* name;
        std::string lines;
    };
    const Step steps[] = {
        {"export and its alerts",
         "tap @esportaButton\nwait 0.3\nkey return\nwait 0.3\nkey return\nwait 0.3"},
        {"a toggle pressed, then the strip dragged",
         "touch-down 100 285\nwait 0.3\ntouch-move 140 285\ntouch-move 240 285\nwait 0.2\n"
         "touch-up 240 285\nwait 0.6"},
        {"the export button let go outside it",
         "touch-down 274 246\nwait 0.2\ntouch-move 274 200\ntouch-move 100 120\ntouch-up 100 "
         "120\nwait 0.3"},
        {"the toolbar's information button let go outside it",
         "touch-down 175 455\nwait 0.2\ntouch-move 175 300\ntouch-up 175 300\nwait 0.3"},
        {"the back button let go outside it",
         "touch-down 277 20\nwait 0.2\ntouch-move 200 200\ntouch-up 200 200\nwait 0.3"},
    };
    for (const auto& step : steps) {
        run(step.lines);
        EXPECT_TRUE(state()["alert"].is_null()) << step.name;
        EXPECT_EQ(highlighted(), std::vector<std::string>{}) << step.name;
        EXPECT_EQ(state()["visible"], "TransazioniViewController") << step.name;
    }
    EXPECT_TRUE(statementScreen()->filters().empty()); // the press that dragged chose nothing
}

// Touches on the wallet while the CVV2 dialog fades out open no second dialog over it.
TEST_F(StatementTest, NoSecondCvv2DialogWhileTheFirstFadesOut) {
    storeAnonymousCard();
    toWallet();
    auto dialogs = [this] {
        std::size_t count = 0;
        visit(state()["window"], [&](const ordered_json& n) {
            count += n["name"] == "textCVV2";
            return true;
        });
        return count;
    };
    // The card's picture as assistive technology presses it: the touches of the fading dialog's
    // hold do not stand in its way.
    std::function<ui::View*(ui::View&)> card = [&](ui::View& v) -> ui::View* {
        if (v.className() == "QVImageView" && v.tag() == 1) {
            return &v;
        }
        for (const auto& child : v.subviews()) {
            if (auto* found = card(*child)) {
                return found;
            }
        }
        return nullptr;
    };
    // The button, the card's picture, the picture pressed by a screen reader.
    for (const std::string& second : {kChoose, std::string("160 100"), std::string()}) {
        SCOPED_TRACE(second);
        run("tap " + kChoose + "\nwait 0.3");
        ASSERT_EQ(dialogs(), 1u);
        run("tap " + kBackdrop + "\nwait 0.05");
        ASSERT_EQ(dialogs(), 1u); // fading out
        if (second.empty()) {
            auto* picture = card(*window_);
            ASSERT_TRUE(picture);
            picture->doAccessibleAction("press");
            run("wait 0.05");
        } else {
            run("tap " + second + "\nwait 0.05");
        }
        EXPECT_LE(dialogs(), 1u);
        run("wait 0.2");
        EXPECT_LE(dialogs(), 1u);
        run("wait 1\nidle 10\nwait 0.5");
        EXPECT_LE(dialogs(), 1u);
        if (dialogs() == 1) {
            run("tap " + kBackdrop + "\nwait 1");
        }
        EXPECT_EQ(dialogs(), 0u);
        EXPECT_EQ(state()["visible"], "CarteViewController");
    }
}

// With amounts hidden, a credit's row looks like a debit's, its colour too.
TEST_F(StatementTest, HiddenCreditsLookLikeDebits) {
    toWallet();
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden);
        Preferences::shared().setNascondiImporti(hidden);
        ListaMovimenti list;
        for (const bool credit : {false, true}) {
            auto m = std::make_shared<Movimento>();
            m->setDescrizione(std::string(credit ? "RICARICA" : "PAGAMENTO"));
            (credit ? m->setAccrediti(std::string("5,00")) : m->setAddebiti(std::string("5,00")));
            list.push_back(m);
        }
        auto screen = std::make_shared<TransazioniViewController>();
        screen->setMovimenti(std::move(list));
        delegate_->navigationController()->pushViewController(screen, false);
        run("wait 0.5");
        std::set<std::string> colours;
        const auto s = state();
        for (const auto& cell : node(s, "tableView")["children"]) {
            if (cell["class"] == "MovimentoCell") {
                colours.insert(find(cell, "name", "importo")->at("textColor").dump());
            }
        }
        EXPECT_EQ(colours.size(), hidden ? 1u : 2u);
        delegate_->navigationController()->popViewControllerAnimated(false);
        run("wait 0.3");
    }
    Preferences::shared().setNascondiImporti(false);
}
