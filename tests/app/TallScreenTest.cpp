#include "AppFixture.h"

namespace vestrino::test {

// Phones taller than 320 × 480 points: the bars stay at the top and the bottom, the login form
// and the wallet keep to the middle, and the statement's and the cash machines' lists take the
// height the screen adds. At 480 points everything is where the layouts put it.
class TallScreenTest : public AppFixture, public ::testing::WithParamInterface<double> {
protected:
    ordered_json windowFrame(const char* key, const ordered_json& value) {
        const auto s = state();
        const auto* node = find(s["window"], key, value);
        return node ? (*node)["windowFrame"] : ordered_json();
    }
    // Every label in sight shows its text inside its frame: a line that does not fit ends in
    // "…", and no line is cut off at the top or the bottom.
    void expectTextFits(const char* screen) {
        visit(state()["window"], [&](const ordered_json& n) {
            if (n.value("hidden", false) || n.value("alpha", 1.0) == 0) {
                return false; // nothing in it shows
            }
            if (n.contains("textSize")) {
                const std::string what = std::string(screen) + " " +
                                         (n["name"].is_string() ? n["name"] : n["text"]).dump();
                const double width = n["frame"][2].get<double>();
                const double height = n["frame"][3].get<double>();
                EXPECT_LE(n["textSize"][0].get<double>(), width + 0.5) << what;
                EXPECT_LE(n["textSize"][1].get<double>(), height + 0.5) << what;
                if (n.contains("shownText")) {
                    EXPECT_TRUE(n["shownText"].get<std::string>().ends_with("\u2026")) << what;
                }
            }
            return true;
        });
    }
    ordered_json contentSize(const char* name) {
        const auto s = state();
        const auto* node = find(s["window"], "name", name);
        return node ? (*node)["contentSize"] : ordered_json();
    }
};

TEST_P(TallScreenTest, BarsAtTheEdgesListsTakeTheHeight) {
    {
        const double height = GetParam();
        const double added = height - 480;
        windowFrame_ = ui::makeRect(0, 0, 320, height);
        launch();
        run("wait 2");
        // The login form keeps its margins in proportion (110 above, 130 below at 480).
        const double formTop = 110 + added * 110 / 240;
        EXPECT_EQ(windowFrame("name", "contenitore"), ordered_json({20, formTop, 280, 240}));
        expectTextFits("login");
        tapTitled("usernameField", "name");
        run("type \"mario.rossi\"\nkey return\ntype \"lumacard1\"\nkey return\nidle 20\nwait 1");
        ASSERT_EQ(state()["visible"], "CarteViewController");
        EXPECT_EQ(windowFrame("class", "VestrinoToolbar"), ordered_json({0, height - 44, 320, 44}));
        EXPECT_EQ(windowFrame("class", "VestrinoNavigationBar"), ordered_json({0, 0, 320, 44}));
        // The carousel and its controls stay together, as far from both bars.
        EXPECT_EQ(windowFrame("name", "gruppo"), ordered_json({0, 62 + added / 2, 320, 356}));
        expectTextFits("wallet");

        // The statement: the page, its list and the content grow by the added points.
        tapTitled("btnScegli", "name");
        run("idle 20\nwait 1");
        ASSERT_EQ(state()["visible"], "TransazioniViewController");
        EXPECT_EQ(windowFrame("name", "scroll"), ordered_json({0, 0, 320, 436 + added}));
        EXPECT_EQ(contentSize("scroll"), ordered_json({320, 690 + added}));
        const auto table = windowFrame("name", "tableView");
        ASSERT_TRUE(table.is_array());
        EXPECT_EQ(table[3], 353 + added);
        // The count and total in sight at the bottom of the page shown, over the long list.
        EXPECT_EQ(windowFrame("name", "totaleLabel")[1], 436 + added - 24);
        expectTextFits("statement");

        // The chart opens whole between the navigation bar and the total line: the legend, each
        // month's bars, name and figures; a month touched shows its list under its chip.
        const auto inSight = [&](const ordered_json& frame, const std::string& what) {
            const double total = windowFrame("name", "totaleBar")[1];
            EXPECT_GE(frame[1].get<double>(), 44) << what;
            EXPECT_LE(frame[1].get<double>() + frame[3].get<double>(), total) << what;
        };
        run("tap @graficoButton\nwait 0.8");
        inSight(windowFrame("class", "StatementChartView"), "the chart");
        std::vector<std::string> months;
        visit(state()["window"], [&](const ordered_json& n) {
            if (n["class"] == "MonthBarView") {
                inSight(n["windowFrame"], n["title"]);
                months.push_back(n["title"]);
            }
            return true;
        });
        ASSERT_FALSE(months.empty());
        tapTitled(months.back());
        run("wait 0.8");
        EXPECT_EQ(look("meseChip.hidden tableView.hidden"), "false; false");
        inSight(windowFrame("name", "meseChip"), "the month's chip");
        run("tap @meseChip\nwait 0.3");

        // The cash machines: the list down to the toolbar.
        run("tap 175 " + std::to_string(height - 25) + "\nwait 0.8\nidle 20");
        expectTextFits("information");
        tapTitled("Lumaspot vicini");
        run("wait 0.8");
        ASSERT_EQ(state()["visible"], "LumaspotViewController");
        EXPECT_EQ(windowFrame("name", "tableView"), ordered_json({0, 190, 320, 246 + added}));
        expectTextFits("cash machines");
    }
}

// 320 × 480, 320 × 568, 360 × 720 (640 points at 320 wide) and the tallest laid out.
INSTANTIATE_TEST_SUITE_P(Heights, TallScreenTest, ::testing::Values(480.0, 568.0, 640.0, 800.0),
                         [](const auto& info) {
                             return std::to_string(static_cast<int>(info.param)) + "Points";
                         });

} // namespace vestrino::test
