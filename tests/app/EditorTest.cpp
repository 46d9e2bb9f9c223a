#include "AppFixture.h"
#include "app/editor/AggiungiCartaViewController.h"
#include "app/wallet/CarteViewController.h"
#include "core/Utf8.h"
#include "store/CardList.h"

#include <csignal>
#include <fstream>
#include <sys/resource.h>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

// What the tests touch: a control by its outlet name ("@name"), wherever the layout puts it.
const std::string kName = "@nomeCarta";
const std::string kAddPage = "+ Nuova";
const std::string kChoose = "@btnScegli";    // "Scegli questa carta", on the add page
const std::string kNameButton = "@btnAlias"; // the wallet's card name button
const std::string kSaveAdd = "@aggiungiButton";
const std::string kSaveAnonymous = "@aggiungiButton";
const std::string kDelete = "@eliminaButton";
const std::string kSaveRename = "@aggiungiButton";

// 15 May 2026, 10:00 in Rome: May 2026 has begun, June has not.
// The wallet's page as a person reads it: the card's kind, its number, its name, the page and
// the pages.
constexpr const char* kWalletPage = "labelDesc.text labelSerial.text btnAlias.title "
                                    "pageControl.selectedPage pageControl.numberOfPages";

constexpr WallTime kToday{std::chrono::milliseconds(1778832000000)};

class EditorTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        wallNow_ = kToday;
    }
    void openAddPage() {
        tapTitled(kAddPage);
        run("wait 0.8\ntap " + kChoose + "\nwait 0.6");
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
    // A stored card as "number|MM/AA|name|anonima|code|holder", what it lacks left empty.
    static std::string fields(const CartaDiPagamento& c) {
        return c.serial().value_or("") + "|" + c.dataMM().value_or("") + "/" +
               c.dataAA().value_or("") + "|" + c.alias().value_or("") + "|" +
               (c.anonima() ? "anonima" : "") + "|" + c.desc().value_or("") + "|" +
               c.intestatario().value_or("");
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
        run("tap " + kSaveAdd + "\nidle 10\nwait 0.6");
        if (!c.message.empty()) {
            EXPECT_EQ(alertShown(), "Attenzione | " + c.message + " | OK");
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
        EXPECT_EQ(fields(*cards.back()),
                  c.number + "|" + c.expiry + "|" + (c.name.empty() ? "" : name30) + "|anonima||");
    }
}

TEST_F(EditorTest, AnAddedCardIsInTheWalletAndInTheFile) {
    toWallet("nuovo.utente", "benvenuto");
    openAddPage();
    EXPECT_EQ(look("nomeCarta.text eliminaButton.hidden titolo.image"),
              "; true; vestrino_title_aggiungi_carta_320.png");
    // Typed as a person types, return moving from field to field.
    run("tap " + kName + "\ntype \"Spesa\"\nkey return\ntype \"5375123400002222\"\n" +
        "key return\ntype \"11/27\"\nkey return");
    EXPECT_EQ(state()["firstResponder"], "nomeCarta"); // round again, no line break
    EXPECT_EQ(text("nomeCarta"), "Spesa");
    run("tap " + kSaveAdd + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    // The wallet lands on the new card, before the add page.
    EXPECT_EQ(look(kWalletPage), "Lumacard Anonima; **** **** **** 2222; Spesa; 1; 2");
    // The file holds it as typed, an anonymous card.
    const auto cards = stored("nuovo.utente");
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(fields(*cards[0]), "5375123400002222|11/27|Spesa|anonima||");
}

TEST_F(EditorTest, ANumberAlreadyStoredIsRefusedAndADeleteTakesOnlyItsCard) {
    // A file made elsewhere that holds one card twice (once written in groups), and a third.
    auto twin = anonymousCard("5375 1234 0000 2222");
    twin->setAlias("Seconda");
    auto third = anonymousCard("5375123400003333");
    third->setAlias("Terza");
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente(
        "nuovo.utente", {anonymousCard("5375123400002222"), twin, third}));
    const auto names = [&] {
        std::string out;
        for (const auto& c : stored("nuovo.utente")) {
            out += c->alias().value_or("") + " ";
        }
        return out;
    };
    toWallet("nuovo.utente", "benvenuto");
    const auto refused = [&](const char* what) {
        SCOPED_TRACE(what);
        run("tap " + kSaveAdd + "\nidle 10\nwait 0.6");
        EXPECT_EQ(alertShown(), "Attenzione | Questa carta è già tra le tue carte. | OK");
        tapTitled("OK");
        run("wait 0.3");
        EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
        EXPECT_EQ(names(), "Regalo Seconda Terza ");
    };
    // Adding the number again, typed either way, is refused.
    openAddPage();
    for (const char* number : {"5375123400002222", "5375123400003333"}) {
        fill("numeroCarta", number);
        fill("scadenzaCarta", "11/27");
        refused(number);
    }
    // Editing the third card into the first's number is refused; keeping its own is not.
    run("tap @indietroButton\nidle 10\nwait 0.8\ntap " + std::to_string(dotX(3, 4)) +
        " 264\nwait 0.8");
    ASSERT_EQ(look("pageControl.selectedPage btnAlias.title"), "3; Terza");
    run("tap " + kNameButton + "\nwait 0.6");
    fill("numeroCarta", "5375123400002222");
    refused("edited into a stored number");
    fill("numeroCarta", "5375123400003333");
    fill("nomeCarta", "Terza carta");
    run("tap " + kSaveAnonymous + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(names(), "Regalo Seconda Terza carta ");
    // The first card, in its editor: delete offered, save moved aside.
    run("tap " + std::to_string(dotX(1, 4)) + " 264\nwait 0.8");
    ASSERT_EQ(look("pageControl.selectedPage"), "1");
    run("tap " + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(look("eliminaButton.hidden aggiungiButton.frame aggiungiButton.image titolo.image "
                   "scadenzaCarta.text nomeCarta.text"),
              "false; [36,336,120,40]; vestrino_button_modifica_320.png; "
              "vestrino_title_modifica_carta_320.png; 04/28; Regalo");
    // "Annulla" keeps the card and the screen.
    run("tap " + kDelete + "\nwait 0.3");
    EXPECT_EQ(alertShown(), "Elimina Carta | Eliminare la carta selezionata? | Annulla, OK");
    tapTitled("Annulla");
    run("wait 0.3");
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(names(), "Regalo Seconda Terza carta ");
    // "OK" removes that record only: its twin stays, in the wallet and in the file.
    run("tap " + kDelete + "\nwait 0.3");
    tapTitled("OK");
    run("idle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(names(), "Seconda Terza carta ");
    EXPECT_EQ(look("pageControl.numberOfPages"), "3");
}

TEST_F(EditorTest, RenamingACardOfTheAccountChangesOnlyItsName) {
    toWallet();
    run("tap " + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    // The number cannot be changed; no expiry, no delete, save in the middle.
    // The number is shown masked, as text, not in a field that looks editable.
    EXPECT_EQ(look("numeroCarta.text numeroCarta.interaction numeroCarta.hidden "
                   "numeroMascherato.text numeroMascherato.hidden scadenzaCartaLabel.hidden "
                   "scadenzaCartaImg.hidden scadenzaCarta.hidden riga.hidden eliminaButton.hidden "
                   "aggiungiButton.frame"),
              "5333171012345670; false; true; **** **** **** 5670; false; true; true; true; true; "
              "true; [100,297,120,40]");
    // Nothing of the number is checked, even emptied on screen.
    fill("numeroCarta", "");
    fill("nomeCarta", "  Conto spese ");
    run("tap " + kSaveRename + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(look("btnAlias.title"), "Conto spese");
    const auto cards = stored("mario.rossi");
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(fields(*cards[0]), "5333171012345670|/|Conto spese||0001234567|");
}

TEST_F(EditorTest, EditingAnAnonymousCardStoredWithSpaces) {
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi",
                                                       {anonymousCard("5375 1234 0000 1117")}));
    toWallet();
    run("tap " + kNameButton + "\nwait 0.6");
    ASSERT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(look("numeroCarta.text scadenzaCarta.text"), "5375123400001117; 04/28");
    fill("scadenzaCarta", "05/29");
    run("tap " + kSaveAnonymous + "\nidle 10\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    const auto cards = stored("mario.rossi");
    ASSERT_EQ(cards.size(), 4u); // the stored card and the account's three
    EXPECT_EQ(fields(*cards[0]), "5375123400001117|05/29|Regalo|anonima||");
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
    run("tap " + kSaveAdd + "\nwait 0.3");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(alertShown(), "Errore | Impossibile salvare la carta sul dispositivo. | OK");
    EXPECT_EQ(bytes(), before);
    tapTitled("OK");
    run("wait 0.3");
    EXPECT_EQ(state()["visible"], "AggiungiCartaViewController");
    EXPECT_EQ(look("nomeCarta.text numeroCarta.text"), "Spesa; 5375123400002222");
    // The session's list is as it was: a later save stores the card once.
    run("tap " + kSaveAdd + "\nidle 10\nwait 0.8");
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
    run("tap " + kSaveAdd + "\nidle 10\nwait 0.8");
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
