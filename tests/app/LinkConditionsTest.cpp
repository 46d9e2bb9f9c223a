#include "AppFixture.h"
#include "FaultRule.h"
#include "app/chrome/VestrinoVC.h"
#include "app/session/Session.h"
#include "app/settings/Preferences.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"
#include "store/FileUtils.h"
#include "store/OfflineCopy.h"

#include <thread>

using namespace vestrino;

namespace {

constexpr const char* kLogin = "/LumaCard/login.do";
constexpr const char* kLogout = "/LumaCard/logout.do";
constexpr const char* kCards = "/LumaCard/lista_carte.do";
constexpr const char* kMovimenti = "/LumaCard/movimenti.do";
constexpr const char* kAtm = "/LumaCard/trova_atm_lumaspot.do";

const lumacard::Fault kHang{.delay = lumacard::FaultRule::kHang};

class LinkConditionsTest : public test::AppFixture {
public:
    // What a table's steps do, reached from outside the fixture.
    using AppFixture::launch;
    using AppFixture::run;
    using AppFixture::tapTitled;
    using AppFixture::toWallet;

    // Types the demo user's name and password and sends them, without waiting for the reply.
    void sendLogin(const std::string& password = "lumacard1") {
        run("tap @usernameField\ntype \"mario.rossi\"\nkey return\ntype \"" + password +
            "\"\nkey return\nwait 0.3");
    }
    void clearForm() {
        std::string keys;
        for (int i = 0; i < 12; ++i) {
            keys += "key backspace\n";
        }
        run("tap @usernameField\n" + keys + "tap @passwordField\n" + keys + "wait 0.2");
    }
    // Waits (a tenth of a second at a time, five seconds at most) until the request is out.
    void waitForRequest(const char* path) {
        for (int i = 0; i < 50 && sent(path) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the worker's time
            run("wait 0.1");
        }
    }
    std::size_t sent(const char* path) { return server().knobs().requestCount(path); }
    // Every request of the service goes unanswered: the connection ends before the reply.
    void cutTheLink() { server().knobs().setFault("*", {.closeConnection = true}); }
    std::filesystem::path copyPath() {
        return OfflineCopy::pathFor(FileUtils::applicationDocumentsDirectory(), "mario.rossi");
    }
    std::string age() { return look("ageLabel.text"); }
};

// One wait of the application and how a person gets to it.
struct Wait {
    const char* name;
    const char* path; // what the service does not answer
    std::function<void(LinkConditionsTest&)> before;
    std::string alert;
    std::string leave; // a script line, or "Annulla" for a touch on it
    std::string visibleAfter;
};

class EveryWait : public LinkConditionsTest, public ::testing::WithParamInterface<Wait> {};

// Each wait of the application can be left with "Annulla" or Escape while the service does not
// answer: the screen is as it was before, nothing more is sent, and the reply that never comes
// changes nothing.
TEST_P(EveryWait, CanBeLeftAndNothingComesOfIt) {
    const Wait& c = GetParam();
    server().knobs().setFault(c.path, kHang);
    c.before(*this);
    ASSERT_EQ(alertShown(), c.alert);
    if (c.leave == "Annulla") {
        tapTitled("Annulla");
    } else {
        run(c.leave);
    }
    run("wait 0.5");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(state()["visible"], c.visibleAfter);
    // The transfer gives up at once (the worker ends), and nothing else goes out.
    const std::size_t before = sent(kCards) + sent(kMovimenti) + sent(kAtm);
    run("idle 5\nwait 1");
    EXPECT_EQ(sent(kCards) + sent(kMovimenti) + sent(kAtm), before);
    EXPECT_EQ(state()["visible"], c.visibleAfter);
    if (std::string(c.name) == "login") {
        // The form keeps what was typed, for another try.
        EXPECT_EQ(look("usernameField.text"), "mario.rossi");
        EXPECT_FALSE(delegate_->loggedIn());
    }
    if (std::string(c.name) == "cardList") {
        EXPECT_FALSE(delegate_->loggedIn()); // the session opened for the list is closed
        EXPECT_EQ(sent(kLogout), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    LinkConditions, EveryWait,
    ::testing::Values(Wait{"login", kLogin,
                           [](LinkConditionsTest& t) {
                               t.launch();
                               t.run("wait 2");
                               t.sendLogin();
                           },
                           "Attendere | Richiesta autenticazione in corso | Annulla", "key escape",
                           "HomeViewController"},
                      Wait{"cardList", kCards,
                           [](LinkConditionsTest& t) {
                               t.launch();
                               t.run("wait 2");
                               t.sendLogin();
                               t.waitForRequest(kCards);
                               t.run("wait 0.2");
                           },
                           "Attendere | Caricamento dati in corso... | Annulla", "Annulla",
                           "HomeViewController"},
                      Wait{"statement", kMovimenti,
                           [](LinkConditionsTest& t) {
                               t.toWallet();
                               t.run("tap @btnScegli\nwait 0.3");
                           },
                           "Attendere | Recupero informazioni carta... | Annulla", "key escape",
                           "CarteViewController"},
                      Wait{"cashMachines", kAtm,
                           [](LinkConditionsTest& t) {
                               t.toWallet();
                               t.run("tap @infoButton\nwait 0.8\nidle 20");
                               t.tapTitled("Lumaspot vicini");
                               t.run("wait 0.8");
                               t.tapTitled("cercaCitta", "name");
                               t.run("type \"ROMA\"\nwait 0.2\ntap 160 212\nwait 0.3");
                           },
                           "Attendere | Ricerca dei Lumaspot in corso | Annulla", "Annulla",
                           "LumaspotViewController"}),
    [](const ::testing::TestParamInfo<Wait>& info) { return std::string(info.param.name); });

// A reply that comes after the person left the wait is dropped: a login answered late leaves
// the login screen where it is and its session is closed with the service.
TEST_F(LinkConditionsTest, ALateLoginIsDroppedAndItsSessionClosed) {
    server().knobs().setFault(kLogin, {.delay = std::chrono::milliseconds(700)});
    launch();
    run("wait 2");
    sendLogin();
    run("key escape\nwait 1.5\nidle 10\nwait 0.5");
    EXPECT_EQ(state()["visible"], "HomeViewController");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(sent(kCards), 0u);
    // Either the transfer was cut before the reply came (the service's session then ends when
    // idle: the device never learnt it), or the session the reply opened was closed again.
    EXPECT_EQ(sent(kLogin), 1u);
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_FALSE(RemoteServiceUtil::dictCache().objectForKey<std::string>(kSessionUsernameKey));
    if (sent(kLogout) == 1) {
        EXPECT_EQ(server().sessions().liveCount(), 0u);
    }
}

// Left while the key for the offline copy is derived (the service has answered the login): the
// session the service opened is closed again, and nothing of it stays on the device.
TEST_F(LinkConditionsTest, ALoginLeftAfterItsReplyClosesItsSession) {
    launch();
    run("wait 2");
    sendLogin();
    for (int i = 0; i < 1000 && server().sessions().liveCount() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(server().sessions().liveCount(), 1u);
    run("key escape\nwait 0.3\nidle 10\nwait 0.5");
    EXPECT_EQ(state()["visible"], "HomeViewController");
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_EQ(server().sessions().liveCount(), 0u);
    EXPECT_FALSE(RemoteServiceUtil::dictCache().objectForKey<std::string>(kSessionUsernameKey));
}

// Offline: the last cards and statements seen, for the right password only, dated; what needs
// the service says so; "Riprova" goes online again when the link is back.
TEST_F(LinkConditionsTest, TheLastDataSeenOfflineForTheRightPasswordOnly) {
    toWallet();
    run("tap @btnScegli\nidle 20\nwait 0.8");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    const std::string fetched = age();
    EXPECT_TRUE(fetched.starts_with("Dati del ")) << fetched;
    EXPECT_EQ(look("ageButton.title"), "Aggiorna");
    const auto rowsOnline = look("totaleLabel.text");
    run("tap @esciButton\nwait 0.8\nidle 20");
    ASSERT_EQ(state()["visible"], "HomeViewController");
    ASSERT_TRUE(std::filesystem::exists(copyPath()));

    cutTheLink();
    // A wrong password opens nothing: the connection's alert, as without a copy.
    sendLogin("sbagliata");
    run("idle 20\nwait 0.6");
    EXPECT_EQ(alertShown(),
              "Attenzione | Problema di connessione, verificare la connettività dati. | OK");
    run("key escape\nwait 0.3");
    EXPECT_EQ(state()["visible"], "HomeViewController");
    ASSERT_TRUE(std::filesystem::exists(copyPath())); // a wrong password keeps the copy

    // The right one: the wallet from the copy, dated, with "Riprova".
    clearForm();
    sendLogin();
    run("idle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(alertShown(), "");
    EXPECT_TRUE(age().starts_with("Senza connessione: dati del ")) << age();
    EXPECT_EQ(look("ageButton.title"), "Riprova");
    // The statement seen, as it was, dated.
    run("tap @btnScegli\nidle 20\nwait 0.8");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_EQ(look("totaleLabel.text"), rowsOnline);
    EXPECT_EQ(age(),
              "Senza connessione: dati del " + fetched.substr(std::string("Dati del ").size()));
    run("tap @indietroButton\nwait 0.8");
    // A card never fetched needs the service.
    run("key right\nwait 0.5\ntap @btnScegli\nwait 0.5");
    EXPECT_EQ(alertShown(), "Senza connessione | Serve una connessione: riprovare quando la "
                            "rete è disponibile. | OK");
    run("key escape\nwait 0.3");
    EXPECT_EQ(sent(kMovimenti), 1u); // only the online one: offline nothing is asked

    // The link is back: "Riprova" logs in for real and the wallet is online again.
    server().knobs().clearFaults();
    tapTitled("Riprova");
    run("idle 20\nwait 0.8");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(age(), "");
    EXPECT_EQ(sent(kLogin), 2u);
}

// The lock holds offline as online: the session ends, its key and password wiped, the copy kept.
TEST_F(LinkConditionsTest, TheLockEndsAnOfflineSessionAndKeepsTheCopy) {
    toWallet();
    run("tap @esciButton\nwait 0.8\nidle 20");
    cutTheLink();
    sendLogin();
    run("idle 20\nwait 0.6");
    ASSERT_EQ(state()["visible"], "CarteViewController");
    std::shared_ptr<Session> session;
    for (const auto& screen : delegate_->navigationController()->viewControllers()) {
        if (auto* vc = dynamic_cast<VestrinoVC*>(screen.get()); vc && vc->session()) {
            session = vc->session();
        }
    }
    ASSERT_TRUE(session && session->offline());
    EXPECT_FALSE(session->ended());
    delegate_->lockSession();
    run("wait 0.8");
    EXPECT_EQ(state()["visible"], "HomeViewController");
    EXPECT_EQ(alertShown(), "Attenzione | Sessione chiusa per inattività. | OK");
    EXPECT_TRUE(session->ended());
    EXPECT_EQ(sent(kLogout), 1u); // the online session's logout; offline none is sent
    EXPECT_TRUE(std::filesystem::exists(copyPath()));
}

// "Aggiorna" fetches the statement again; when that fails, the statement stays, dated, and the
// failure is said. A reply cut in the middle shows nothing of itself.
TEST_F(LinkConditionsTest, RefreshAndACutReply) {
    toWallet();
    run("tap @btnScegli\nidle 20\nwait 0.8");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    const auto total = look("totaleLabel.text");
    ASSERT_EQ(sent(kMovimenti), 1u);
    tapTitled("Aggiorna");
    run("idle 20\nwait 0.5");
    EXPECT_EQ(sent(kMovimenti), 2u);
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(look("totaleLabel.text"), total);

    server().knobs().setFault(kMovimenti, {.truncateAt = 300, .cutConnection = true});
    tapTitled("Aggiorna");
    run("idle 20\nwait 0.5");
    EXPECT_EQ(alertShown(), "Errore | Impossibile recuperare le informazioni sulla carta | OK");
    run("key escape\nwait 0.3");
    EXPECT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_EQ(look("totaleLabel.text"), total);
    EXPECT_TRUE(age().starts_with("Dati del "));

    // Chosen again from the wallet with the reply still cut: the session's statement, dated,
    // without asking the service.
    run("tap @indietroButton\nwait 0.8");
    run("tap @btnScegli\nidle 20\nwait 0.8");
    EXPECT_EQ(state()["visible"], "TransazioniViewController");
    EXPECT_EQ(sent(kMovimenti), 3u);
}

// Off, nothing is kept and what was kept goes; "Dimentica" removes the copy.
TEST_F(LinkConditionsTest, TheCopyCanBeTurnedOffAndForgotten) {
    toWallet();
    run("idle 20");
    ASSERT_TRUE(std::filesystem::exists(copyPath()));
    run("tap @infoButton\nwait 0.8");
    tapTitled("Dimentica i dati salvati");
    run("wait 0.3");
    tapTitled("Elimina");
    run("wait 0.3\nidle 20");
    EXPECT_FALSE(std::filesystem::exists(copyPath()));
    tapTitled("senzaConnessione", "name");
    run("wait 0.3\nidle 20");
    EXPECT_FALSE(Preferences::shared().usoSenzaConnessione());
    run("tap @carteButton\nwait 0.8\ntap @btnScegli\nidle 20\nwait 0.8");
    EXPECT_FALSE(std::filesystem::exists(copyPath()));
    run("tap @esciButton\nwait 0.8\nidle 20");
    cutTheLink();
    sendLogin();
    run("idle 20\nwait 0.6");
    EXPECT_EQ(alertShown(),
              "Attenzione | Problema di connessione, verificare la connettività dati. | OK");
}

} // namespace
