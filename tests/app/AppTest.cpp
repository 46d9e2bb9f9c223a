#include "AppFixture.h"
#include "CaseName.h"
#include "app/chrome/VestrinoVC.h"
#include "core/BackgroundTask.h"

#include <atomic>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace vestrino;
using nlohmann::ordered_json;
using test::AppFixture;

class AppTest : public test::AppFixture {};

TEST_F(AppTest, LaunchWithAndWithoutTheBanner) {
    launch();
    run("wait 0.5");
    auto s = state();
    EXPECT_EQ(s["visible"], "UIBannerView");
    EXPECT_EQ(s["screens"], ordered_json::array());
    EXPECT_EQ(plain(find(s["window"], "class", "UIBannerView")->at("frame")), "[0,0,320,480]");
    run("wait 0.9");
    EXPECT_EQ(state()["visible"], "UIBannerView"); // 1.4 s: still the splash
    run("wait 0.2");
    EXPECT_EQ(state()["screens"], ordered_json({"HomeViewController"}));
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_TRUE(toolbarSelection().empty()); // logged out: only the bar's picture
    EXPECT_FALSE(backButtonShown());
}

class NoBannerTest : public AppTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NoBannerTest, ShowsTheLoginScreenAtOnce) {
    const bool networkDown = GetParam();
    VestrinoAppDelegate::install()->setDocumentsDirectory(tempDir() / "docs");
    server().knobs().setFault("/LumaCard/banner.do", {.status = 404, .body = ""});
    setReachabilityFlags(networkDown ? 0u : 2u);
    const auto bannerRequests = server().knobs().requestCount("/LumaCard/banner.do");
    launch();
    EXPECT_EQ(state()["visible"], "HomeViewController");
    // The splash and the login screen's banner each ask; without network nobody does.
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/banner.do"),
              bannerRequests + (networkDown ? 0 : 2));
    EXPECT_FALSE(delegate_->loggedIn());
}

INSTANTIATE_TEST_SUITE_P(Network, NoBannerTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Down" : "Up"); });

TEST_F(AppTest, ValidationMessagesAndTheReturnKey) {
    launch();
    run("wait 2");
    struct Case {
        const char* user;
        const char* password;
        const char* message;
    };
    const Case cases[] = {{"", "", "Inserisci nome utente e password"},
                          {"mario", "", "Inserisci la password"},
                          {"", "segreto", "Inserisci il nome utente"}};
    for (const auto& c : cases) {
        tapTitled("usernameField", "name");
        window_->insertText(c.user);
        run("wait 0.6");
        tapTitled("passwordField", "name");
        window_->insertText(c.password);
        run("wait 0.6");
        tapTitled("loginButton", "name");
        run("wait 0.1");
        EXPECT_EQ(alertShown(), std::string("Attenzione | ") + c.message + " | OK");
        tapTitled("OK");
        EXPECT_TRUE(state()["alert"].is_null());
        // Clear the fields for the next case.
        delegate_->navigationController()->topViewController()->viewWillAppear(false);
    }
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/login.do"), 0u);
    // Return in the user name field moves to the password field, without a login.
    tapTitled("usernameField", "name");
    run("type \"mario.rossi\"\nkey return");
    EXPECT_EQ(state()["firstResponder"], "passwordField");
    EXPECT_EQ(alertShown(), "");
    // Return in the password field with the user name empty: the user name message.
    delegate_->navigationController()->topViewController()->viewWillAppear(false);
    run("wait 0.6");
    tapTitled("passwordField", "name");
    run("type \"segreto\"\nkey return\nwait 0.1");
    EXPECT_EQ(alertShown(), "Attenzione | Inserisci il nome utente | OK");
}

TEST_F(AppTest, TheKeyboardAloneLogsIn) {
    launch();
    run("wait 2");
    // Tab from nowhere: the user name; Tab again: the password; Shift+Tab: back.
    std::string focus;
    for (const char* lines : {"key tab", "type \"mario.rossi\"\nkey tab", "key shift+tab"}) {
        run(lines);
        focus += plain(state()["firstResponder"]) + " ";
    }
    EXPECT_EQ(focus, "usernameField passwordField usernameField ");
    run("key tab\ntype \"sbagliata\"\nkey return\nidle 20\nwait 0.6");
    EXPECT_EQ(alertShown(), "Attenzione | Nome utente o password non corretti. | OK");
    // Escape answers the alert; no field takes a Tab while it is up.
    run("key escape\nwait 0.3");
    EXPECT_EQ(alertShown(), "");
    // The password pasted whole with Ctrl+V over an emptied field: the login let go of the
    // fields, so Tab starts from the first again.
    run("key tab");
    EXPECT_EQ(state()["firstResponder"], "usernameField");
    run("key tab");
    ASSERT_EQ(state()["firstResponder"], "passwordField");
    run("key backspace\nkey backspace\nkey backspace\nkey backspace\nkey backspace\n"
        "key backspace\nkey backspace\nkey backspace\nkey backspace");
    run("clipboard \"lumacard1\"\nkey ctrl+v\nkey return\nidle 20\nwait 0.6");
    EXPECT_TRUE(delegate_->loggedIn());
    EXPECT_EQ(state()["screens"], ordered_json({"HomeViewController", "CarteViewController"}));
}

TEST_F(AppTest, FailedLoginsShowTheRightMessage) {
    launch();
    run("wait 2");
    login("mario.rossi", "sbagliata");
    EXPECT_EQ(alertShown(), "Attenzione | Nome utente o password non corretti. | OK");
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_EQ(RemoteServiceUtil::dictCache().count(), 0u);
    tapTitled("OK");
    EXPECT_EQ(text("usernameField"), "mario.rossi"); // kept after a failure

    // A reply that is no XML: the general message.
    server().knobs().setFault("/LumaCard/login.do", {.body = "<html>Servizio non disponibile"});
    run("wait 0.6");
    tapTitled("loginButton", "name");
    run("idle 20\nwait 0.2");
    EXPECT_EQ(alertShown(), "Attenzione | Problema temporaneo, riprovare più tardi. | OK");
    tapTitled("OK");
    server().knobs().clearFaults();

    // A slow service: the activity alert stays while the window goes on painting.
    server().knobs().setFault("/LumaCard/login.do", {.delay = std::chrono::milliseconds(800)});
    run("wait 0.6");
    tapTitled("loginButton", "name");
    const auto painted = screen_->screen().framesPainted();
    run("wait 0.5");
    EXPECT_EQ(alertShown(), "Attendere | Richiesta autenticazione in corso | Annulla");
    EXPECT_EQ(state()["alert"]["activity"], true);
    EXPECT_GT(screen_->screen().framesPainted(), painted); // the spinner keeps turning
    run("idle 20\nwait 0.2");
    EXPECT_EQ(alertShown(), "Attenzione | Nome utente o password non corretti. | OK");
    tapTitled("OK");
    server().knobs().clearFaults();

    setReachabilityFlags(0);
    run("wait 0.6");
    tapTitled("loginButton", "name");
    run("idle 20\nwait 0.2");
    EXPECT_EQ(alertShown(),
              "Attenzione | Problema di connessione, verificare la connettività dati. | OK");
    EXPECT_EQ(state()["screens"], ordered_json({"HomeViewController"}));
}

TEST_F(AppTest, ToolbarInformationAndLogout) {
    launch();
    run("wait 2");
    login("mario.rossi", "lumacard1");
    auto s = state();
    EXPECT_EQ(s["screens"], ordered_json({"HomeViewController", "CarteViewController"}));
    EXPECT_TRUE(s["alert"].is_null()); // the loading alert is gone
    EXPECT_TRUE(delegate_->loggedIn());
    EXPECT_EQ(toolbarSelection(), (std::vector<bool>{true, false, false}));
    EXPECT_FALSE(backButtonShown()); // the wallet hides it

    run("tap @infoButton\nwait 0.6\ntap @infoButton\nwait 0.6"); // information, twice
    EXPECT_EQ(state()["screens"],
              ordered_json({"HomeViewController", "CarteViewController", "InfoViewController"}));
    EXPECT_EQ(toolbarSelection(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(backButtonShown());
    run("tap @carteButton\nwait 0.6"); // cards: back to the wallet
    EXPECT_EQ(state()["visible"], "CarteViewController");
    EXPECT_EQ(toolbarSelection(), (std::vector<bool>{true, false, false}));
    run("tap @infoButton\nwait 0.6\ntap @indietroButton\nwait 0.6"); // information, then the back
                                                                     // button
    EXPECT_EQ(state()["visible"], "CarteViewController");

    // Logout, against a service slow to answer it: the login screen at once, the session
    // ended on the device, the request still out in the background.
    server().knobs().setFault("/LumaCard/logout.do", {.delay = std::chrono::milliseconds(1500)});
    run("tap @esciButton\nwait 0.6");
    s = state();
    EXPECT_EQ(s["screens"], ordered_json({"HomeViewController"}));
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_EQ(RemoteServiceUtil::dictCache().count(), 0u);
    EXPECT_EQ(look("usernameField.text passwordField.text"), "; ");
    EXPECT_TRUE(toolbarSelection().empty());
    EXPECT_GT(BackgroundTask::running(), 0u) << "the logout waited for the service";
    run("idle 10");
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/logout.do"), 1u);
}

// The wallet's card list failing after the login: the service's own message, or the fallback
// text when the connection drops; either way the session ends.
namespace {

struct CardListFault {
    const char* name;
    lumacard::Fault fault;
    const char* message;
};
const CardListFault kCardListFaults[] = {
    {"the session expired",
     {.body = "<r><risposta><esito>KO</esito><codice_esito>sessione_scaduta</codice_esito>"
              "<messaggio>Sessione scaduta, accedi di nuovo</messaggio></risposta></r>"},
     "Sessione scaduta, accedi di nuovo"},
    {"lost on the way", {.closeConnection = true}, "Problema temporaneo, riprovare più tardi."},
};
// The case's name where GoogleTest lists the parameter.
void PrintTo(const CardListFault& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

class CardListFaultTest : public AppTest, public ::testing::WithParamInterface<CardListFault> {};

TEST_P(CardListFaultTest, ForcesTheLogout) {
    const auto& c = GetParam();
    launch();
    run("wait 2");
    server().knobs().setFault("/LumaCard/lista_carte.do", c.fault);
    login("mario.rossi", "lumacard1");
    EXPECT_EQ(alertShown(), std::string("Attenzione | ") + c.message + " | Ok");
    EXPECT_EQ(state()["alert"]["tag"], kForcedLogoutAlertTag);
    tapTitled("Ok");
    run("wait 0.6");
    EXPECT_EQ(state()["screens"], ordered_json({"HomeViewController"}));
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_EQ(RemoteServiceUtil::dictCache().count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(CardList, CardListFaultTest, ::testing::ValuesIn(kCardListFaults),
                         [](const auto& info) { return test::caseName(info.param.name); });

TEST_F(AppTest, QuittingWhileTheLoginWorkerWaitsIsClean) {
    // The script ends (as a closed window would) while the service takes 3 s to answer. The
    // script comes through a pipe: it ends only once the stand-in has the login request, so the
    // quit surely happens while the worker waits for it.
    server().knobs().setFault("/LumaCard/login.do", {.delay = std::chrono::seconds(3)});
    const auto script = tempDir() / "quit.fifo";
    std::filesystem::remove(script);
    ASSERT_EQ(::mkfifo(script.c_str(), 0600), 0);
    std::atomic<int> status{-1};
    std::atomic<std::chrono::steady_clock::time_point::rep> ended{0};
    std::thread program([&] {
        status = runApp(script, tempDir() / "quit-docs", tempDir() / "quit-out", "", "2>/dev/null");
        ended = std::chrono::steady_clock::now().time_since_epoch().count();
    });
    {
        std::ofstream lines(script);
        lines << "wait 2\ntap @usernameField\ntype \"mario.rossi\"\nkey return\n"
                 "type \"lumacard1\"\nkey return\nwait 0.2\n"
              << std::flush;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (server().knobs().requestCount("/LumaCard/login.do") == 0 &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    } // the pipe closes: the script has ended
    const auto closed = std::chrono::steady_clock::now();
    program.join();
    ASSERT_EQ(server().knobs().requestCount("/LumaCard/login.do"), 1u);
    ASSERT_TRUE(WIFEXITED(status.load()));
    EXPECT_EQ(WEXITSTATUS(status.load()), 0);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::time_point(
                                          std::chrono::steady_clock::duration(ended.load())) -
                                      closed)
            .count();
    EXPECT_LT(seconds, 2.0); // it did not wait for the service's 3 s
}

// Quitting in the middle of an animation (the login form's slide, a screen's push) or of a
// statement request ends with status 0: the screens and their views go before the statics
// they use.
TEST_F(AppTest, QuittingMidAnimationOrMidRequestEndsWithStatusZero) {
    const char* scripts[] = {
        "wait 2\ntap @usernameField\n",
        "wait 2\ntap @usernameField\ntype \"mario.rossi\"\nkey return\ntype \"lumacard1\"\n"
        "key return\nidle 20\nwait 0.1\n",
        "wait 2\ntap @usernameField\ntype \"mario.rossi\"\nkey return\ntype \"lumacard1\"\n"
        "key return\nidle 20\nwait 1\ntap @btnScegli\nwait 0.05\n",
        "wait 0.5\n", // the splash
    };
    int i = 0;
    for (const char* text : scripts) {
        SCOPED_TRACE(text);
        const auto script = tempDir() / ("quit-" + std::to_string(++i) + ".script");
        std::ofstream(script) << text;
        const int status = runApp(script, tempDir() / "quit-docs", tempDir() / "quit-out", "",
                                  "2>'" + (tempDir() / "quit.err").string() + "'");
        ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

// The service's banner keeps its shape in each of its slots (the splash, the login screen, the
// information screen): drawn at the picture's own proportions, covering the slot, centred, the
// overflow cut at the slot's edge.
TEST_F(AppTest, TheBannerKeepsItsShapeInEverySlot) {
    launch();
    auto checkBanners = [&](const char* where, std::size_t expected) {
        SCOPED_TRACE(where);
        std::vector<ordered_json> banners;
        std::function<void(const ordered_json&)> walk = [&](const ordered_json& n) {
            if (n.value("class", "") == "UIBannerView" && !n["hidden"].get<bool>()) {
                banners.push_back(n);
            }
            for (const auto& c : n.value("children", ordered_json::array())) {
                walk(c);
            }
        };
        walk(state()["window"]);
        ASSERT_EQ(banners.size(), expected);
        for (const auto& b : banners) {
            ASSERT_TRUE(b.contains("drawnRect")) << b.dump();
            const double fw = b["frame"][2], fh = b["frame"][3];
            const double iw = b["imageSize"][0], ih = b["imageSize"][1];
            const double x = b["drawnRect"][0], y = b["drawnRect"][1];
            const double w = b["drawnRect"][2], h = b["drawnRect"][3];
            EXPECT_NEAR(w / h, iw / ih, 1e-9) << b.dump();
            EXPECT_GE(w + 1e-9, fw);
            EXPECT_GE(h + 1e-9, fh);
            EXPECT_TRUE(std::abs(w - fw) < 1e-9 ||
                        std::abs(h - fh) < 1e-9); // no larger than needed
            EXPECT_NEAR(x + w / 2, fw / 2, 1e-9);
            EXPECT_NEAR(y + h / 2, fh / 2, 1e-9);
        }
    };
    run("wait 0.5");
    checkBanners("splash", 1);
    run("wait 1.5");
    checkBanners("login", 1);
    login("mario.rossi", "lumacard1");
    run("tap @infoButton\nwait 0.6");
    checkBanners("information", 1);
}
