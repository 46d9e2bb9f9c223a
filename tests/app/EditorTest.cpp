#include "AppFixture.h"
#include "app/AggiungiCartaViewController.h"
#include "app/CarteViewController.h"
#include "core/Utf8.h"
#include "store/CardList.h"

#include <csignal>
#include <fstream>
#include <sys/resource.h>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

// What the tests touch: a control by its outlet name ("@name"), wherever the layout puts it.
constexpr const char* kName = "@nomeCarta";
constexpr const char* kAddPage = "+ Nuova";
constexpr const char* kChoose = "@btnScegli";    // "Scegli questa carta", on the add page
constexpr const char* kNameButton = "@btnAlias"; // the wallet's card name button
constexpr const char* kSaveAdd = "@aggiungiButton";
constexpr const char* kSaveAnonymous = "@aggiungiButton";
constexpr const char* kDelete = "@eliminaButton";
constexpr const char* kSaveRename = "@aggiungiButton";

// 15 May 2026, 10:00 in Rome: May 2026 has begun, June has not.
constexpr WallTime kToday{std::chrono::milliseconds(1778832000000)};

class EditorTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        wallNow_ = kToday;
    }
    void openAddPage() {
        tapTitled(kAddPage);
        run(std::string("wait 0.8\ntap ") + kChoose + "\nwait 0.6");
        ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    }
    std::shared_ptr<AggiungiCartaViewController> editor() {
        return std::dynamic_pointer_cast<AggiungiCartaViewController>(
            delegate_->navigationController()->visibleViewController());
    }
    // What is on screen in the field, as a paste would leave it.
    void fill(const char* name, const std::string& text) {
        auto f = std::dynamic_pointer_cast<ui::TextField>(editor()->outlet(name));
        ASSERT_TRUE(f) << name;
        f->setText(text);
    }
    ListaCarte stored(const std::string& user) {
        return RemoteServiceUtil::caricaCartaPerUtente(user).value_or(ListaCarte{});
    }
    std::string alertMessage() {
        const auto s = state();
        return s["alert"].is_null() ? "" : s["alert"]["message"].get<std::string>();
    }
    struct Page {
        std::string desc, serial, alias;
        std::uint32_t selected, pages;
    };
    Page walletPage() {
        const auto s = state();
        auto node = [&](const char* name) { return *find(s["window"], "name", name); };
        return {node("labelDesc")["text"], node("labelSerial")["text"], node("btnAlias")["title"],
                node("pageControl")["selectedPage"], node("pageControl")["numberOfPages"]};
    }
    static CartaDiPagamentoPtr anonymousCard(const std::string& serial) {
        auto card = std::make_shared<CartaDiPagamento>();
        card->setSerial(serial);
        card->setDataAA("28");
        card->setDataMM("04");
        card->setAlias("Regalo");
        card->setAnonima(true);
        return card;
    }
};

} // namespace

TEST_F(EditorTest, ValidationMessagesTheirOrderAndWhatIsStored) {
    const std::string name30 = "Carta per la spesa di famiglia"; // 30 characters
    ASSERT_EQ(codePointCount(name30), 30u);
    struct Case {
        const char* what;
        std::string name, number, expiry;
        std::string message; // empty: accepted and stored
    };
    const Case cases[] = {
        {"a four-character expiry", "", "5375123400002222", "1/25",
         "Data scadenza carta invalido!"},
        {"month 13", "", "5375123400002222", "13/25", "Data scadenza Carta non valida!"},
        {"not a date", "", "5375123400002222", "ab/cd", "Data scadenza Carta non valida!"},
        {"a longer text", "", "5375123400002222", "004/28", "Data scadenza Carta non valida!"},
        {"the current month", "", "5375123400002222", "05/26", "Data scadenza Carta non valida!"},
        {"a past year", "", "5375123400002222", "12/25", "Data scadenza Carta non valida!"},
        {"four groups", "", "5375 1234 0000 2222", "11/27",
         "Caratteri non validi nel numero carta!"},
        {"15 digits", "", "537512340000222", "11/27",
         "Il numero della carta deve essere di 16 caratteri!"},
        {"17 digits", "", "53751234000022221", "11/27",
         "Il numero della carta deve essere di 16 caratteri!"},
        {"no number", "", "", "11/27", "Numero della carta vuoto!"},
        {"no number and no expiry: the number's message", "", "", "", "Numero della carta vuoto!"},
        {"a 31-character name wins", name30 + "e", "", "", "Nome della carta troppo lungo!"},
        {"the next month", "", "5375123400002222", "06/26", ""},
        {"30 characters with blanks around, stored trimmed", "  " + name30 + " \n",
         "5375123400001117", "04/28", ""},
        {"digits of another script are digits", "", "５３７５１２３４００００３３３３", "07/30",
         ""},
    };
    toWallet("nuovo.utente", "benvenuto");
    std::size_t storedCount = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (state()["visible"] != "AggiungiCartaViewController") {
            openAddPage();
        }
        fill("nomeCarta", c.name);
        fill("numeroCarta", c.number);
        fill("scadenzaCarta", c.expiry);
        run(std::string("tap ") + kSaveAdd + "\nidle 10\nwait 0.6");
        if (!c.message.empty()) {
            EXPECT_EQ(state()["alert"]["title"], "Attenzione");
            EXPECT_EQ(alertMessage(), c.message);
            EXPECT_EQ(state()["alert"]["buttons"], ordered_json({"OK"}));
            tapTitled("OK");
            run("wait 0.2");
            EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
            EXPECT_EQ(text("numeroCarta"), c.number); // what was typed stays
            EXPECT_EQ(stored("nuovo.utente").size(), storedCount);
            continue;
        }
        EXPECT_EQ(state()["visible"], "CarteViewController");
        const auto cards = stored("nuovo.utente");
        ASSERT_EQ(cards.size(), ++storedCount);
        const auto& card = cards.back();
        EXPECT_EQ(card->serial(), c.number);
        EXPECT_EQ(card->alias(), c.name.empty() ? "" : name30);
        EXPECT_EQ(card->dataMM(), c.expiry.substr(0, 2));
        EXPECT_EQ(card->dataAA(), c.expiry.substr(3, 2));
        EXPECT_TRUE(card->anonima());
        EXPECT_FALSE(card->desc().has_value());
        EXPECT_FALSE(card->intestatario().has_value());
    }
}

TEST_F(EditorTest, AnAddedCardIsInTheWalletAndInTheFile) {
    toWallet("nuovo.utente", "benvenuto");
    openAddPage();
    EXPECT_EQ(text("nomeCarta"), "");
    const auto s = state();
    EXPECT_EQ((*find(s["window"], "name", "eliminaButton"))["hidden"], true);
    EXPECT_EQ((*find(s["window"], "name", "titolo"))["image"],
              "vestrino_title_aggiungi_carta_320.png");
    // Typed as a person types, return moving from field to field.
    run(std::string("tap ") + kName + "\ntype \"Spesa\"\nkey return\ntype \"5375123400002222\"\n" +
        "key return\ntype \"11/27\"\nkey return");
    EXPECT_EQ(state()["firstResponder"], "nomeCarta"); // round again, no line break
    EXPECT_EQ(text("nomeCarta"), "Spesa");
    run(std::string("tap ") + kSaveAdd + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    // The wallet lands on the new card, before the add page.
    const Page p = walletPage();
    EXPECT_EQ(p.pages, 2u);
    EXPECT_EQ(p.selected, 1u);
    EXPECT_EQ(p.desc, "Lumacard Anonima");
    EXPECT_EQ(p.serial, "**** **** **** 2222");
    EXPECT_EQ(p.alias, "Spesa");
    // The file holds it as typed, an anonymous card.
    const auto cards = stored("nuovo.utente");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0]->serial(), "5375123400002222");
    EXPECT_EQ(cards[0]->alias(), "Spesa");
    EXPECT_EQ(cards[0]->dataMM(), "11");
    EXPECT_EQ(cards[0]->dataAA(), "27");
    EXPECT_TRUE(cards[0]->anonima());
}

TEST_F(EditorTest, TheSameNumberTwiceAndADeleteThatRemovesBoth) {
    toWallet("nuovo.utente", "benvenuto");
    for (const char* name : {"Prima", "Seconda"}) {
        openAddPage();
        fill("nomeCarta", name);
        fill("numeroCarta", "5375123400002222");
        fill("scadenzaCarta", "11/27");
        run(std::string("tap ") + kSaveAdd + "\nidle 10\nwait 0.8");
    }
    ASSERT_EQ(stored("nuovo.utente").size(), 2u);
    // The wallet's first card (the indicator's first dot of three), in its editor: delete
    // offered, save moved aside.
    run("tap 142 264\nwait 0.8");
    ASSERT_EQ(walletPage().selected, 1u);
    run(std::string("tap ") + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    auto s = state();
    EXPECT_EQ((*find(s["window"], "name", "eliminaButton"))["hidden"], false);
    EXPECT_EQ((*find(s["window"], "name", "aggiungiButton"))["frame"],
              ordered_json({36, 336, 120, 40}));
    EXPECT_EQ((*find(s["window"], "name", "aggiungiButton"))["image"],
              "vestrino_button_modifica_320.png");
    EXPECT_EQ((*find(s["window"], "name", "titolo"))["image"],
              "vestrino_title_modifica_carta_320.png");
    EXPECT_EQ(text("scadenzaCarta"), "11/27");
    EXPECT_EQ(text("nomeCarta"), "Prima");
    // "Annulla" keeps the card and the screen.
    run(std::string("tap ") + kDelete + "\nwait 0.3");
    s = state();
    EXPECT_EQ(s["alert"]["title"], "Elimina Carta");
    EXPECT_EQ(s["alert"]["message"], "Eliminare la carta selezionata?");
    EXPECT_EQ(s["alert"]["buttons"], ordered_json({"Annulla", "OK"}));
    tapTitled("Annulla");
    run("wait 0.3");
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(stored("nuovo.utente").size(), 2u);
    // "OK" removes every card with that number.
    run(std::string("tap ") + kDelete + "\nwait 0.3");
    tapTitled("OK");
    run("idle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_TRUE(stored("nuovo.utente").empty());
    EXPECT_EQ(walletPage().pages, 1u);
    EXPECT_EQ(walletPage().alias, "Aggiungi Altra Carta");
}

TEST_F(EditorTest, RenamingACardOfTheAccountChangesOnlyItsName) {
    toWallet();
    run(std::string("tap ") + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    auto s = state();
    EXPECT_EQ(text("numeroCarta"), "5333171012345670");
    EXPECT_EQ((*find(s["window"], "name", "numeroCarta"))["interaction"], false);
    for (const char* hidden : {"scadenzaCartaLabel", "scadenzaCartaImg", "scadenzaCarta", "riga"}) {
        EXPECT_EQ((*find(s["window"], "name", hidden))["hidden"], true) << hidden;
    }
    EXPECT_EQ((*find(s["window"], "name", "eliminaButton"))["hidden"], true);
    EXPECT_EQ((*find(s["window"], "name", "aggiungiButton"))["frame"],
              ordered_json({100, 297, 120, 40}));
    // Nothing of the number is checked, even emptied on screen.
    fill("numeroCarta", "");
    fill("nomeCarta", "  Conto spese ");
    run(std::string("tap ") + kSaveRename + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(walletPage().alias, "Conto spese");
    const auto cards = stored("mario.rossi");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0]->serial(), "5333171012345670");
    EXPECT_EQ(cards[0]->alias(), "Conto spese");
    EXPECT_EQ(cards[0]->desc(), "0001234567");
    EXPECT_FALSE(cards[0]->anonima());
}

TEST_F(EditorTest, EditingAnAnonymousCardStoredWithSpaces) {
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi",
                                                       {anonymousCard("5375 1234 0000 1117")}));
    toWallet();
    run(std::string("tap ") + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(text("numeroCarta"), "5375123400001117");
    EXPECT_EQ(text("scadenzaCarta"), "04/28");
    fill("scadenzaCarta", "05/29");
    run(std::string("tap ") + kSaveAnonymous + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    const auto cards = stored("mario.rossi");
    ASSERT_EQ(cards.size(), 4u); // the stored card and the account's three
    EXPECT_EQ(cards[0]->serial(), "5375123400001117");
    EXPECT_EQ(cards[0]->dataMM(), "05");
    EXPECT_EQ(cards[0]->dataAA(), "29");
    EXPECT_EQ(cards[0]->alias(), "Regalo");
}

TEST_F(EditorTest, AFileThatCannotBeWrittenIsSaidAndNothingIsLost) {
    toWallet("nuovo.utente", "benvenuto");
    openAddPage();
    fill("nomeCarta", "Spesa");
    fill("numeroCarta", "5375123400002222");
    fill("scadenzaCarta", "11/27");
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("nuovo.utente", {anonymousCard("1")}));
    const auto file = RemoteServiceUtil::cardFilePath("nuovo.utente");
    auto bytes = [&] {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    };
    const std::string before = bytes();
    // No file may grow past 64 bytes (root is not spared this limit, as it is permissions).
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    run(std::string("tap ") + kSaveAdd + "\nwait 0.3");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    auto s = state();
    EXPECT_EQ(s["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(s["alert"]["title"], "Errore");
    EXPECT_EQ(s["alert"]["message"], "Impossibile salvare la carta sul dispositivo.");
    EXPECT_EQ(s["alert"]["buttons"], ordered_json({"OK"}));
    EXPECT_EQ(bytes(), before);
    tapTitled("OK");
    run("wait 0.3");
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(text("nomeCarta"), "Spesa");
    EXPECT_EQ(text("numeroCarta"), "5375123400002222");
    // The session's list is as it was: a later save stores the card once.
    run(std::string("tap ") + kSaveAdd + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(stored("nuovo.utente").size(), 1u);
}

TEST_F(EditorTest, ASessionThatLostItsListStartsFromTheStoredOne) {
    toWallet();
    openAddPage();
    // The session's list is gone (as after the cache was emptied); the file has four cards.
    RemoteServiceUtil::dictCache().with(
        [](DictCache::Entries& e) { e.erase("mario.rossi_listaCarte"); });
    const auto before = stored("mario.rossi").size();
    fill("numeroCarta", "5375123400002222");
    fill("scadenzaCarta", "11/27");
    run(std::string("tap ") + kSaveAdd + "\nidle 10\nwait 0.8");
    EXPECT_EQ(stored("mario.rossi").size(), before + 1);
}

TEST(EditorCleanup, SpacesGoAndTheEndsAreTrimmed) {
    const std::pair<std::string, std::string> cases[] = {
        {"5375 1234 0000 1117", "5375123400001117"},
        {"  5375123400001117\n", "5375123400001117"},
        {"\t53 75\u00a0", "5375"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(AggiungiCartaViewController::cleanupString(in), out) << in;
    }
}
