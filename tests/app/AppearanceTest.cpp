// The look: the person's choice on the information screen, kept and in force at once, and the
// desktop's scheme followed for "Sistema" with nothing else on the screen changing.
#include "AppFixture.h"
#include "app/settings/AppearanceChoice.h"
#include "app/settings/Preferences.h"
#include "ui/Palette.h"

#include <cmath>
#include <fstream>

using namespace vestrino;
using nlohmann::ordered_json;

namespace {

class AppearanceTest : public test::AppFixture {
protected:
    void toStatement() {
        launch();
        run("wait 2");
        login("mario.rossi", "lumacard1");
        run("wait 0.5");
        ASSERT_EQ(state()["visible"], "CarteViewController");
        run("drag 280 150 40 150 0.3\nwait 1\ntap @btnScegli\nidle 20\nwait 1");
        ASSERT_EQ(state()["visible"], "TransazioniViewController");
    }
    std::string appearance() { return state()["appearance"].get<std::string>(); }
    // What a person sees of the screen beyond its colours: the screens, the focus, the search's
    // text, the page's and the list's scroll.
    std::string whatShows() {
        return state()["screens"].dump() + " " + state()["firstResponder"].dump() + " " +
               look("cercaField.text scroll.contentOffset tableView.contentOffset");
    }
};

} // namespace

TEST_F(AppearanceTest, TheInformationScreenChoosesKeepsAndPaintsAtOnce) {
    toStatement();
    run("tap @infoButton\nwait 0.6");
    EXPECT_EQ(look("aspettoButton.title"), "Sistema");
    EXPECT_EQ(appearance(), "light");
    struct Step {
        const char* choice;
        const char* stored;
        const char* look;
    };
    // The desktop says nothing here: "Sistema" is light.
    for (const Step& s : {Step{"Scuro", "dark", "dark"}, Step{"Chiaro", "light", "light"},
                          Step{"Scuro", "dark", "dark"}, Step{"Sistema", "system", "light"}}) {
        SCOPED_TRACE(s.choice);
        run("tap @aspettoButton\nwait 0.3");
        ASSERT_EQ(state()["alert"]["title"], "Aspetto");
        EXPECT_EQ(state()["alert"]["buttons"], ordered_json({"Sistema", "Chiaro", "Scuro"}));
        tapTitled(s.choice);
        run("wait 0.3");
        EXPECT_EQ(appearance(), s.look);
        EXPECT_EQ(look("aspettoButton.title"), s.choice);
        std::ifstream in(Preferences::shared().file());
        const auto kept = ordered_json::parse(in, nullptr, false);
        EXPECT_EQ(kept.value("aspetto", ""), s.stored);
    }
    // Escape and Return keep the choice as it is (here not the first button).
    run("tap @aspettoButton\nwait 0.3");
    tapTitled("Scuro");
    run("wait 0.3");
    for (const char* key : {"escape", "return"}) {
        SCOPED_TRACE(key);
        run("tap @aspettoButton\nwait 0.3\nkey " + std::string(key) + "\nwait 0.3");
        EXPECT_TRUE(state()["alert"].is_null());
        EXPECT_EQ(look("aspettoButton.title"), "Scuro");
        EXPECT_EQ(appearance(), "dark");
        Preferences::shared().reload();
        EXPECT_EQ(Preferences::shared().aspetto(), AppearanceChoice::Dark);
    }
}

TEST_F(AppearanceTest, TheDesktopTurningDarkRepaintsAndChangesNothingElse) {
    toStatement();
    run("tap @cercaField\ntype \"POS\"\nwait 0.3\ndrag 160 420 160 200 0.3\nwait 2");
    const std::string before = whatShows();
    // The search kept its text and the list was scrolled: there is something to lose.
    ASSERT_NE(before.find("POS"), std::string::npos) << before;
    ASSERT_EQ(before.find("[0,0]; [0,0]"), std::string::npos) << before;
    const std::string lightText = look("titolo.textColor");
    ASSERT_EQ(appearance(), "light");
    auto* follower = delegate_->appearance();
    ASSERT_TRUE(follower);
    struct Turn {
        ui::ColorScheme desktop;
        AppearanceChoice choice;
        const char* look;
    };
    for (const Turn& t : {Turn{ui::ColorScheme::Dark, AppearanceChoice::System, "dark"},
                          Turn{ui::ColorScheme::Dark, AppearanceChoice::Light, "light"},
                          Turn{ui::ColorScheme::Light, AppearanceChoice::Dark, "dark"},
                          Turn{ui::ColorScheme::Light, AppearanceChoice::System, "light"},
                          Turn{ui::ColorScheme::NoPreference, AppearanceChoice::System, "light"},
                          Turn{ui::ColorScheme::Dark, AppearanceChoice::System, "dark"}}) {
        follower->setChoice(t.choice);
        follower->desktopSchemeChanged(t.desktop);
        run("wait 0.1");
        EXPECT_EQ(appearance(), t.look);
        EXPECT_EQ(whatShows(), before) << t.look;
    }
    // The title's colour is the dark palette's now, not the light one's.
    EXPECT_NE(look("titolo.textColor"), lightText);
    const ui::Color accent = ui::Palette::dark().color(ui::ColorRole::Accent);
    const auto byte = [](float c) { return std::to_string(std::lround(c * 255)); };
    EXPECT_EQ(look("titolo.textColor"),
              "[" + byte(accent.r) + "," + byte(accent.g) + "," + byte(accent.b) + ",255]");
}
