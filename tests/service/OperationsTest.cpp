#include "FormData.h"
#include "StandinFixture.h"
#include "app/application/VestrinoAppDelegate.h"
#include "core/DictCache.h"
#include "core/PictureInfo.h"
#include "entities/CartaDiPagamentoEx.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "service/StatementRequest.h"
#include "store/AES128.h"
#include "store/CardList.h"
#include "store/StoreTestSupport.h"
#include "store/UnreadableCardFile.h"

#include <fstream>
#include <sstream>

using namespace vestrino;
namespace fs = std::filesystem;

namespace {

class OperationsTest : public test::StandinFixture {
protected:
    DictCache& cache() { return RemoteServiceUtil::dictCache(); }
    fs::path documents() { return VestrinoAppDelegate::shared()->applicationDocumentsDirectory(); }
    int login(const std::optional<std::string>& user, const std::optional<std::string>& password) {
        std::optional<std::string> m;
        return RemoteServiceUtil::login(user, password, m);
    }
    std::shared_ptr<ListaCarte> sessionCards(int& code) {
        std::shared_ptr<ListaCarte> carte;
        std::optional<std::string> m;
        code = RemoteServiceUtil::listaCarteForUserSession(carte, m);
        return carte;
    }
    std::size_t requests(const std::string& path) {
        return server().knobs().requestCount("/LumaCard/" + path);
    }
    // The cards as "number/name/code/anonima", joined by "; ", what a card lacks left empty.
    static std::string described(const ListaCarte& cards) {
        std::string out;
        for (const auto& c : cards) {
            out += (out.empty() ? "" : "; ") + c->serial().value_or("") + "/" +
                   c->alias().value_or("") + "/" + c->desc().value_or("") +
                   (c->anonima() ? "/anonima" : "/");
        }
        return out;
    }
    static CartaDiPagamentoPtr card(std::string serial, std::optional<std::string> alias,
                                    bool anonima) {
        auto c = std::make_shared<CartaDiPagamento>();
        c->setSerial(std::move(serial));
        c->setAlias(std::move(alias));
        c->setAnonima(anonima);
        return c;
    }
};

StatementRequest::Reply statement(const std::optional<std::string>& selPan, bool fresh = false) {
    return StatementRequest::accountCard(selPan, fresh).fetch();
}

StatementRequest::Reply anonymous(const std::string& numero, const std::string& aa,
                                  const std::string& mm, const std::string& cvv2) {
    CartaDiPagamentoEx carta;
    carta.setSerial(numero);
    carta.setDataAA(aa);
    carta.setDataMM(mm);
    carta.setCvv2(cvv2);
    carta.setAnonima(true);
    return StatementRequest::anonymousCard(carta).fetch();
}

} // namespace

TEST_F(OperationsTest, LoginAndTheSessionCache) {
    cache().setObject("prima", 1);
    EXPECT_EQ(login(std::nullopt, "x"), CODICE_ERRORE_LOGIN_USER_VUOTO);
    EXPECT_EQ(login("mario.rossi", std::nullopt), CODICE_ERRORE_LOGIN_PASSWORD_VUOTO);
    EXPECT_TRUE(cache().contains("prima")); // nothing touched, nothing sent
    EXPECT_EQ(requests("login.do"), 0u);

    std::optional<std::string> m;
    EXPECT_EQ(RemoteServiceUtil::login("mario.rossi", "sbagliata", m), CODICE_ERRORE_LOGIN_FALLITA);
    EXPECT_EQ(m, "Nome utente o password non corretti.");
    EXPECT_EQ(cache().count(), 0u);
    EXPECT_EQ(login("", "lumacard1"), CODICE_ERRORE_LOGIN_USER_VUOTO); // sent: the service says
    EXPECT_EQ(login("mario.rossi", "corta"), CODICE_ERRORE_LOGIN_PASSWORD_LEN);
    EXPECT_EQ(requests("login.do"), 3u);

    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    EXPECT_EQ(cache().objectForKey<std::string>(kSessionUsernameKey), "mario.rossi");
    ASSERT_EQ(RemoteServiceUtil::logout(), SUCCESS);
    EXPECT_EQ(cache().count(), 0u);
    // Logging out with no network still ends the session on the device.
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    setReachabilityFlags(0);
    EXPECT_EQ(RemoteServiceUtil::logout(), CODICE_ERRORE_CONNESSIONE);
    EXPECT_EQ(cache().count(), 0u);
}

TEST_F(OperationsTest, SessionCardListMergesStoresAndCaches) {
    int code = 0;
    EXPECT_FALSE(sessionCards(code)); // nobody logged in
    EXPECT_EQ(code, CODICE_ERRORE_GENERICO);
    EXPECT_EQ(requests("lista_carte.do"), 0u);

    // Stored: an anonymous card with the number of the service's second card, then one the
    // service does not know.
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente(
        "mario.rossi",
        {card("5375123400001117", "Regalo", true), card("5333171087654329", "Spesa", true)}));
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    const auto first = sessionCards(code);
    ASSERT_EQ(code, SUCCESS);
    ASSERT_TRUE(first);
    // The second merged in its stored position, its name kept; the others in the service's
    // order. Saved as merged.
    const std::string merged =
        "5375123400001117/Regalo//anonima; 5333171087654329/Spesa/0001234568/; "
        "5333171012345670//0001234567/; 5333171055554444//0001234569/";
    EXPECT_EQ(described(*first), merged);
    EXPECT_EQ(described(RemoteServiceUtil::caricaCartaPerUtente("mario.rossi").value()), merged);

    // The second list of the session is a snapshot of the cache: no request.
    const auto second = sessionCards(code);
    ASSERT_EQ(code, SUCCESS);
    EXPECT_EQ(requests("lista_carte.do"), 1u);
    EXPECT_NE(second, first);
    EXPECT_EQ(*second, *first);
    first->pop_back(); // the cached list changes; the snapshot does not
    EXPECT_EQ(second->size(), 4u);
}

TEST_F(OperationsTest, AFailedCardListChangesNeitherCacheNorFile) {
    ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi", {card("1", "uno", true)}));
    const auto path = RemoteServiceUtil::cardFilePath("mario.rossi");
    const std::string before = test::readWhole(path);
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    server().sessions().expireAll();
    int code = 0;
    std::shared_ptr<ListaCarte> carte = std::make_shared<ListaCarte>();
    std::optional<std::string> m;
    code = RemoteServiceUtil::listaCarteForUserSession(carte, m);
    EXPECT_EQ(code, CODICE_ERRORE_SESSIONE_SCADUTA);
    EXPECT_FALSE(carte);
    EXPECT_FALSE(cache().contains("mario.rossi_listaCarte"));
    EXPECT_EQ(test::readWhole(path), before);
}

TEST_F(OperationsTest, UserNamesAreFilesOfTheDocumentsFolderOnly) {
    // Two users whose names differ only in case are two users.
    server().data().users.push_back({"Mario.Rossi", "altrapass", "MARIO R.", {"0007654321"}});
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    int code = 0;
    sessionCards(code);
    ASSERT_EQ(login("Mario.Rossi", "altrapass"), SUCCESS);
    const auto other = sessionCards(code);
    ASSERT_EQ(code, SUCCESS);
    ASSERT_EQ(other->size(), 1u);
    EXPECT_EQ(requests("lista_carte.do"), 2u);
    EXPECT_TRUE(fs::exists(documents() / "mario.rossi_listaCarte"));
    EXPECT_TRUE(fs::exists(documents() / "Mario.Rossi_listaCarte"));
    server().data().users.pop_back();

    // Names that are no safe file names never leave the folder.
    const fs::path outside = documents().parent_path();
    const auto outsideBefore = std::distance(fs::directory_iterator(outside), {});
    for (const std::string& name :
         std::vector<std::string>{"../x", "a/b", "..", "", std::string(300, 'n')}) {
        ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente(name, {card("7", std::nullopt, true)}))
            << name;
        const auto path = RemoteServiceUtil::cardFilePath(name);
        EXPECT_EQ(path.parent_path(), documents()) << name;
        EXPECT_EQ(path.filename().string().rfind("u-", 0), 0u) << name;
        EXPECT_EQ(RemoteServiceUtil::caricaCartaPerUtente(name)->size(), 1u) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), outsideBefore);
    EXPECT_FALSE(fs::exists(documents() / "a"));
}

TEST_F(OperationsTest, UnreadableCardFilesAreKeptAsideNeverOverwritten) {
    const auto path = RemoteServiceUtil::cardFilePath("mario.rossi");
    const auto anonymousCard = card("5375123400001117", "Io", true);
    ASSERT_TRUE(CardList::saveCardList({anonymousCard}, path));
    const std::string good = test::readWhole(path);
    std::string oneByte = good;
    oneByte[oneByte.size() / 2] ^= 0x20;
    const struct Case {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"not a card file", "questo non è un file di carte"},
        {"one damaged byte", oneByte},
        {"cut short", good.substr(0, good.size() - 16)},
        {"empty", ""},
        {"decrypts to no archive", *AES128EncryptWithKey("bplist00 e basta", kQvK)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : fs::directory_iterator(documents())) {
            fs::remove(e.path());
        }
        std::ofstream(path, std::ios::binary) << c.bytes;
        EXPECT_FALSE(RemoteServiceUtil::caricaCartaPerUtente("mario.rossi"));
        EXPECT_EQ(CardList::readCardListFile(path).state, CardFileLoad::State::Damaged);
        ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
        int code = 0;
        ASSERT_EQ(sessionCards(code)->size(), 3u);
        // The unreadable bytes are kept, whole and private, beside the new file.
        const auto aside = UnreadableCardFile::keptAside(path);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(aside[0].filename().string().rfind("mario.rossi_listaCarte.unreadable-2", 0), 0u)
            << aside[0];
        EXPECT_EQ(test::readWhole(aside[0]), c.bytes);
        EXPECT_EQ(fs::status(aside[0]).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(RemoteServiceUtil::caricaCartaPerUtente("mario.rossi")->size(), 3u);
        // Told once.
        EXPECT_EQ(RemoteServiceUtil::takeCardFileNotice("mario.rossi"),
                  CardFileLoad::State::Damaged);
        EXPECT_FALSE(RemoteServiceUtil::takeCardFileNotice("mario.rossi"));
        // Damaged in place after the session wrote it: the next save still sees it.
        std::ofstream(path, std::ios::binary) << "X";
        ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi", {anonymousCard}));
        ASSERT_EQ(UnreadableCardFile::keptAside(path).size(), 2u);
        EXPECT_EQ(RemoteServiceUtil::takeCardFileNotice("mario.rossi"),
                  CardFileLoad::State::Damaged);
        fs::remove(UnreadableCardFile::keptAside(path)[1]);
        ASSERT_EQ(RemoteServiceUtil::logout(), SUCCESS);
    }

    // A file that cannot be read just now (here: a folder where the file should be) is no
    // damage: nothing is moved, nothing saved, nothing kept for the session.
    for (const auto& e : fs::directory_iterator(documents())) {
        fs::remove(e.path());
    }
    fs::create_directory(path);
    EXPECT_EQ(CardList::readCardListFile(path).state, CardFileLoad::State::Unavailable);
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    int code = 0;
    EXPECT_EQ(sessionCards(code)->size(), 3u);
    EXPECT_EQ(RemoteServiceUtil::takeCardFileNotice("mario.rossi"),
              CardFileLoad::State::Unavailable);
    EXPECT_FALSE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi", {anonymousCard}));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_TRUE(UnreadableCardFile::keptAside(path).empty());
    const auto fetched = requests("lista_carte.do");
    EXPECT_EQ(sessionCards(code)->size(), 3u);
    EXPECT_EQ(requests("lista_carte.do"), fetched + 1); // read again, not from the session
    fs::remove(path);
}

TEST_F(OperationsTest, StatementsOfSessionCardsAreFetchedOncePerSession) {
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    const auto a = statement("0001234568");
    ASSERT_EQ(a.code, SUCCESS);
    ASSERT_TRUE(a.carta && a.saldo);
    EXPECT_EQ(a.carta->serial().value_or("") + " " + a.carta->intestatario().value_or("") + " " +
                  std::to_string(a.movimenti.size()),
              "5333171087654329 MARIO ROSSI 563");
    const auto b = statement("0001234568");
    EXPECT_EQ(b.code, SUCCESS);
    EXPECT_EQ(b.carta, a.carta); // the very records of the cache
    EXPECT_EQ(requests("movimenti.do"), 1u);
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    const auto c = statement("0001234568");
    EXPECT_EQ(c.code, SUCCESS);
    EXPECT_EQ(requests("movimenti.do"), 2u);
    // Fetched again when asked fresh, and the cache keeps the new one.
    const auto d = statement("0001234568", true);
    EXPECT_EQ(d.code, SUCCESS);
    EXPECT_EQ(requests("movimenti.do"), 3u);
    EXPECT_NE(d.carta, c.carta);
    EXPECT_EQ(statement("0001234568").carta, d.carta);
    EXPECT_EQ(requests("movimenti.do"), 3u);

    const std::pair<std::optional<std::string>, int> codes[] = {
        {std::nullopt, CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO},
        {"", CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO},
        {"00012345x8", CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_NONNUMERO},
        {"000123", CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_LUNGHEZZA},
        {"0007654321", CODICE_ERRORE_GENERICO}, // another user's card
    };
    for (const auto& [selPan, expected] : codes) {
        const auto s = statement(selPan);
        EXPECT_EQ(s.code, expected) << selPan.value_or("<absent>");
        EXPECT_FALSE(s.carta);
        EXPECT_TRUE(s.movimenti.empty());
    }
    // Characters outside the unreserved set are percent-encoded.
    statement("12 34&5");
    EXPECT_EQ(server().knobs().lastRequest("/LumaCard/movimenti.do")->body,
              "selPan=12%2034%265&formato=XML&agent=iPhone");
}

TEST_F(OperationsTest, AnonymousCardsAreAskedWithTheCvv2EveryTime) {
    const auto ok = anonymous("5375123400002222", "27", "11", "582");
    ASSERT_EQ(ok.code, SUCCESS);
    ASSERT_TRUE(ok.carta);
    EXPECT_EQ(described({ok.carta}) + " " + std::to_string(ok.movimenti.size()),
              "5375123400002222///anonima 11");
    EXPECT_EQ(anonymous("5375123400002222", "27", "11", "582").code, SUCCESS);
    const auto bodies = server().knobs().bodiesSeen("/LumaCard/carta_anonima.do");
    ASSERT_EQ(bodies.size(), 2u); // not answered from a cache
    EXPECT_EQ(bodies[0], "agent=iPhone&formato=XML&numeroCarta=5375123400002222&dataAA=27&"
                         "dataMM=11&cvv2=582");
    const std::pair<std::array<const char*, 4>, int> codes[] = {
        {{"5375123400002223", "27", "11", "582"}, CODICE_ERRORE_INSERIMENTO_CARTA_NON_VALIDA},
        {{"5375123400002222", "27", "11", "58"}, CODICE_ERRORE_INSERIMENTO_CVV2_LUNGHEZZA},
        {{"5375123400002222", "27", "13", "582"}, CODICE_ERRORE_INSERIMENTO_MESE_VALORE},
        {{"", "27", "11", "582"}, CODICE_ERRORE_INSERIMENTO_CARTA_VUOTA},
        {{"5375123400002222", "27", "11", "583"}, CODICE_ERRORE_PARAMETRI_CARTA_NON_VALIDI},
    };
    for (const auto& [args, expected] : codes) {
        EXPECT_EQ(anonymous(args[0], args[1], args[2], args[3]).code, expected) << args[0];
    }
    // Stored cards and the cache never hold the CVV2.
    ASSERT_EQ(login("mario.rossi", "lumacard1"), SUCCESS);
    int code = 0;
    sessionCards(code);
    for (const auto& entry : fs::recursive_directory_iterator(documents())) {
        const std::string bytes = test::readWhole(entry.path());
        const auto plain = AES128DecryptWithKey(bytes, kQvK);
        EXPECT_EQ(bytes.find("582"), std::string::npos) << entry.path();
        EXPECT_EQ(plain.value_or("").find("582"), std::string::npos) << entry.path();
    }
}

TEST_F(OperationsTest, BannerAndCashMachines) {
    const auto bytes = RemoteServiceUtil::banner();
    ASSERT_TRUE(bytes);
    const auto info = PictureInfo::of(*bytes);
    ASSERT_TRUE(info);
    EXPECT_EQ(std::make_pair(info->width, info->height), std::make_pair(320, 480));
    server().knobs().setFault("/LumaCard/banner.do", {.body = "<html><body>Errore</body></html>"});
    EXPECT_FALSE(RemoteServiceUtil::banner());
    server().knobs().clearFaults();

    ListaLumaspot found{std::make_shared<ATMLumaspot>()};
    EXPECT_EQ(RemoteServiceUtil::trovaAtmLumaSpot(45.5f, 9.25f, 2.0f, found), SUCCESS);
    EXPECT_EQ(server().knobs().lastRequest("/LumaCard/trova_atm_lumaspot.do")->body,
              "agent=iPhone&formato=XML&lat=45.500000&lng=9.250000&raggio=2.000000");
    EXPECT_TRUE(found.empty()); // nothing within 2 km of that point
    EXPECT_EQ(RemoteServiceUtil::trovaAtmLumaSpot(41.9f, 12.49f, 5.0f, found), SUCCESS);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->ufficio(), "ROMA 12 - VIA MARSALA");
    EXPECT_EQ(found[0]->latitudine(), "41.902782");
    found.push_back(nullptr);
    EXPECT_EQ(RemoteServiceUtil::trovaAtmLumaSpot(41.9f, 12.49f, 500.0f, found),
              CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_VALIDO);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(RemoteServiceUtil::trovaAtmLumaSpot(91.0f, 12.49f, 5.0f, found),
              CODICE_ERRORE_TROVA_ATM_LAT_NON_VALIDO);
}
