// The session that locks itself after a time without input: from whatever screen is open, only
// while someone is logged in, with the person's choice of time, on the virtual clock.
#include "AppFixture.h"
#include "app/application/InactivityLock.h"
#include "app/info/InfoViewController.h"
#include "app/settings/Preferences.h"
#include "core/RunLoop.h"

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

const std::string kChoose = "@btnScegli";
const std::string kCvv2Field = "@textCVV2";

class SessionLockTest : public test::AppFixture {
protected:
    // The wallet, with the person's choice of time (launching starts from the defaults).
    void toWallet(std::optional<int> minutes = std::nullopt) {
        launch();
        if (minutes) {
            Preferences::shared().setBloccoMinuti(*minutes);
            delegate_->applyLockPreference();
        }
        run("wait 2");
        login("mario.rossi", "lumacard1");
        run("wait 0.5");
        ASSERT_EQ(state()["visible"], "CarteViewController");
    }
    // Seconds without input, in the script's steps of at most ten minutes.
    void quiet(double s) {
        for (; s > 0; s -= 600) {
            run("wait " + std::to_string(std::min(s, 600.0)));
        }
    }
    bool locked() {
        return state()["screens"] == ordered_json({"HomeViewController"}) &&
               alertShown() == "Attenzione | Sessione chiusa per inattività. | OK";
    }
};

} // namespace

struct LockCase {
    const char* what;
    int minutes;        // the person's choice (0: never)
    std::string setUp;  // from the wallet, before the time starts to run (after the add page)
    bool addPage;       // the carousel's add page first
    double quietBefore; // seconds without input that must not lock
    double quietAfter;  // then this many more that must (0: it never locks)
    bool anonymousCard; // an anonymous card stored first
};

void PrintTo(const LockCase& c, std::ostream* os) {
    *os << c.what;
}

class SessionLockFrom : public SessionLockTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(SessionLockFrom, TheChosenTimeLocksAndNothingOpenIsKept) {
    const auto& c = GetParam();
    if (c.anonymousCard) {
        storeAnonymousCard();
    }
    toWallet(c.minutes);
    const auto cardsBefore =
        RemoteServiceUtil::caricaCartaPerUtente("mario.rossi").value_or(ListaCarte{}).size();
    if (c.addPage) {
        tapTitled("+ Nuova");
        run("wait 0.8");
    }
    run(c.setUp);
    const auto screens = state()["screens"];
    quiet(c.quietBefore);
    EXPECT_EQ(state()["screens"], screens);
    EXPECT_TRUE(delegate_->loggedIn());
    if (c.quietAfter == 0) {
        return;
    }
    quiet(c.quietAfter);
    run("idle 10\nwait 0.6");
    EXPECT_TRUE(locked()) << state().dump();
    EXPECT_FALSE(delegate_->loggedIn());
    EXPECT_EQ(RemoteServiceUtil::dictCache().count(), 0u);
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/logout.do"), 1u);
    // Nothing typed was kept: no card was added, no statement fetched with a half CVV2.
    EXPECT_EQ(RemoteServiceUtil::caricaCartaPerUtente("mario.rossi").value_or(ListaCarte{}).size(),
              cardsBefore);
    EXPECT_EQ(server().knobs().requestCount("/LumaCard/carta_anonima.do"), 0u);
    tapTitled("OK");
    run("wait 0.3");
    EXPECT_TRUE(state()["alert"].is_null());
    // Logged in again, everything answers: the bars the dialog had switched off too.
    login("mario.rossi", "lumacard1");
    run("wait 0.5\ntap @infoButton\nwait 0.6");
    EXPECT_EQ(state()["visible"], "InfoViewController");
}

INSTANTIATE_TEST_SUITE_P(
    Screens, SessionLockFrom,
    ::testing::Values(
        // Five minutes from the login, the last input: a second of that went on waiting for it.
        LockCase{"TheWalletAfterTheDefaultFiveMinutes", 5, "", false, 298, 3, false},
        LockCase{"AStatement", 5, "tap " + kChoose + "\nidle 20\nwait 0.6", false, 299, 2, false},
        LockCase{"TheEditorWithANameTyped", 5,
                 "tap @btnScegli\nwait 0.6\ntap @nomeCarta\ntype \"Spesa\"", true, 299, 2, false},
        LockCase{"TheCvv2DialogWithTwoDigitsTyped", 1,
                 "tap " + kChoose + "\nwait 0.3\ntap " + kCvv2Field + "\nwait 0.4\ntype \"73\"",
                 false, 59, 2, true},
        LockCase{"TheInformationScreenAfterFifteenMinutes", 15, "tap @infoButton\nwait 0.6", false,
                 899, 2, false},
        LockCase{"Never", 0, "", false, 3600, 0, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(SessionLockTest, InputStartsTheTimeAgainAndTheLoginScreenNeverLocks) {
    launch();
    run("wait 2");
    quiet(3600);
    EXPECT_EQ(alertShown(), ""); // nobody logged in: no countdown
    login("mario.rossi", "lumacard1");
    run("wait 0.5");
    // Four minutes, a touch on the page; four more, a key; four more: still there.
    run("wait 240\ntouch-down 160 300\ntouch-up 160 300\nwait 240\nkey tab\nwait 240");
    EXPECT_EQ(state()["visible"], "CarteViewController");
    run("wait 61\nwait 0.6");
    EXPECT_TRUE(locked());
}

TEST_F(SessionLockTest, TheInformationScreenOffersTheChoicesAndKeepsOne) {
    toWallet();
    run("tap @infoButton\nwait 0.6");
    run("tap @bloccoButton\nwait 0.2");
    EXPECT_EQ(alertShown(), "Blocco automatico | Bloccare la sessione dopo quanto tempo senza uso? "
                            "Ora: 5 min | 1 min, 5 min, 15 min, mai");
    std::string shownAndKept;
    for (const char* choice : {"15 min", "mai", "1 min", "5 min"}) {
        tapTitled(choice);
        run("wait 0.3");
        Preferences::shared().reload();
        shownAndKept += look("bloccoButton.title") + " = " +
                        std::to_string(Preferences::shared().bloccoMinuti()) + "; ";
        run("tap @bloccoButton\nwait 0.2");
    }
    EXPECT_EQ(shownAndKept, "15 min = 15; mai = 0; 1 min = 1; 5 min = 5; ");
    // Escape leaves the choice as it is.
    run("key escape\nwait 0.3");
    EXPECT_EQ(alertShown(), "");
    EXPECT_EQ(Preferences::shared().bloccoMinuti(), 5);
    // The choice holds at once: one minute from the tap, not five.
    run("tap @bloccoButton\nwait 0.2");
    tapTitled("1 min");
    run("wait 0.3");
    ASSERT_EQ(Preferences::shared().bloccoMinuti(), 1);
    run("wait 61\nwait 0.6");
    EXPECT_TRUE(locked());
}

// The lock alone on a run loop of its own: a call still out holds it off until it is answered.
TEST(InactivityLock, WaitsForACallStillOutAndStopsWhenDisarmed) {
    auto clock = std::make_shared<VirtualClock>();
    RunLoop loop(clock);
    int locks = 0;
    bool busy = false;
    InactivityLock lock(
        loop, [&] { ++locks; }, [&] { return busy; });
    auto advance = [&](double s) {
        for (int i = 0; i < static_cast<int>(s * 10); ++i) {
            clock->advance(seconds(0.1));
            loop.runOnce();
        }
    };
    lock.setLimit(seconds(60));
    advance(120);
    EXPECT_EQ(locks, 0); // not armed
    lock.setArmed(true);
    busy = true;
    advance(90);
    EXPECT_EQ(locks, 0);
    busy = false;
    advance(1.1);
    EXPECT_EQ(locks, 1);
    EXPECT_FALSE(lock.armed());
    lock.setArmed(true);
    advance(30);
    lock.noteActivity();
    advance(59);
    EXPECT_EQ(locks, 1);
    advance(1.1);
    EXPECT_EQ(locks, 2);
    lock.setArmed(true);
    advance(30);
    lock.setArmed(false);
    advance(120);
    EXPECT_EQ(locks, 2);
    lock.setArmed(true);
    lock.setLimit(std::nullopt);
    advance(120);
    EXPECT_EQ(locks, 2);
    EXPECT_FALSE(lock.deadline().has_value());
}
