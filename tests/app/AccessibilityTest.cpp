#include "AppFixture.h"
#include "ui/TextField.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace fs = std::filesystem;
using nlohmann::ordered_json;

namespace {

class AccessibilityTest : public vestrino::test::AppFixture {
protected:
    // The first view assistive technology sees with this role and name.
    vestrino::ui::View* seen(const std::string& role, const std::string& name) {
        std::function<vestrino::ui::View*(vestrino::ui::View&)> search =
            [&](vestrino::ui::View& v) -> vestrino::ui::View* {
            if (accessibleRoleName(v.accessibleRole()) == role && v.accessibleName() == name &&
                v.accessibleStates().showing) {
                return &v;
            }
            for (const auto& child : v.subviews()) {
                if (auto* found = search(*child)) {
                    return found;
                }
            }
            return nullptr;
        };
        return search(*window_);
    }
};

// The roles that fit a class a person acts on.
const std::map<std::string, std::set<std::string>> kFittingRoles = {
    {"Button", {"push button", "toggle button"}},
    {"TextField", {"entry", "password text"}},
    {"Switch", {"switch"}},
    {"TableViewCell", {"list item"}},
    {"MovimentoCell", {"list item"}},
    {"LumaspotCell", {"list item"}},
    {"QVImageView", {"page tab", "push button", "image"}},
};

struct Walk {
    std::string snapshot;
    std::vector<std::string> faults;
    std::size_t named = 0;
    std::map<std::string, std::string> passwordRoles; // a secure field's name -> its role

    void visit(const ordered_json& node, bool shown, bool touchable) {
        shown = shown && !node.value("hidden", false) && node.value("alpha", 1.0) > 0;
        touchable = touchable && node.value("interaction", true);
        const std::string cls = node.value("class", "");
        const auto fits = kFittingRoles.find(cls);
        const std::string where =
            snapshot + ": " + cls + " " +
            (node["name"].is_string() ? node["name"].get<std::string>() : std::string("(no name)"));
        if (fits != kFittingRoles.end() && shown && touchable) {
            if (!node.contains("role")) {
                faults.push_back(where + " has no role");
            } else if (const std::string role = node["role"]; !role.empty()) {
                if (!fits->second.contains(role)) {
                    faults.push_back(where + " has the role \"" + role + "\"");
                }
                if (node.value("accessibleName", "").empty()) {
                    faults.push_back(where + " has no name");
                }
                ++named;
            }
        }
        if (node.value("name", ordered_json()).is_string() && node["name"] == "passwordField") {
            passwordRoles[snapshot] = node.value("role", "");
        }
        for (const auto& child : node["children"]) {
            visit(child, shown, touchable);
        }
    }
};

} // namespace

// Every control a person can act on in every snapshot of the tour has a name and a role that
// fits it: a screen reader can tell each one and what it is.
TEST_F(AccessibilityTest, EveryControlOfTheTourIsNamed) {
    const fs::path work = tempDir() / "a11y";
    fs::create_directories(work / "docs");
    fs::permissions(work / "docs", fs::perms::owner_all);
    fs::copy_file(fs::path(VESTRINO_SOURCE_DIR) /
                      "standin/data/demo-documents/mario.rossi_listaCarte",
                  work / "docs" / "mario.rossi_listaCarte");
    fs::create_directories(work / "downloads");
    ASSERT_EQ(runApp(fs::path(VESTRINO_SOURCE_DIR) / "scripts/tour.script", work / "docs",
                     work / "out", "", "> /dev/null 2>&1",
                     "XDG_CONFIG_HOME='" + (work / "config").string() + "' XDG_DOWNLOAD_DIR='" +
                         (work / "downloads").string() + "'"),
              0);

    Walk walk;
    std::size_t snapshots = 0;
    for (const auto& entry : fs::directory_iterator(work / "out")) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        std::ifstream in(entry.path());
        const auto doc = ordered_json::parse(in);
        walk.snapshot = entry.path().stem().string();
        walk.visit(doc["window"], true, true);
        ++snapshots;
    }
    EXPECT_GE(snapshots, 10u);
    EXPECT_GE(walk.named, 100u); // the walk saw the controls at all
    for (const auto& fault : walk.faults) {
        ADD_FAILURE() << fault;
    }
    // The password field says what it is, and never its text (the snapshot's asterisks are
    // the view layer's own).
    ASSERT_FALSE(walk.passwordRoles.empty());
    for (const auto& [snapshot, role] : walk.passwordRoles) {
        EXPECT_EQ(role, "password text") << snapshot;
    }
}

// The way through the application a screen reader takes, by roles, names and actions alone:
// the fields activated and typed into, "Accedi" pressed, a card's page pressed, a row of its
// statement activated, the detail's alert read.
TEST_F(AccessibilityTest, ActionsDoWhatATouchDoes) {
    launch();
    run("wait 2");
    auto* user = seen("entry", "Nome utente");
    auto* password = seen("password text", "Password");
    ASSERT_TRUE(user && password);
    ASSERT_TRUE(user->doAccessibleAction("activate"));
    EXPECT_TRUE(user->accessibleStates().focused);
    run("type \"mario.rossi\"");
    ASSERT_TRUE(password->doAccessibleAction("activate"));
    run("type \"lumacard1\"");
    EXPECT_FALSE(user->doAccessibleAction("press")); // a field has no such action
    auto* accedi = seen("push button", "Accedi");
    ASSERT_TRUE(accedi);
    ASSERT_TRUE(accedi->doAccessibleAction("press"));
    run("idle 20\nwait 1");
    ASSERT_EQ(state()["visible"], "CarteViewController");

    auto* card = seen("page tab", "Lumacard Standard che termina con 5670");
    ASSERT_TRUE(card) << "the card's page is not in view";
    EXPECT_TRUE(card->accessibleStates().selected);
    ASSERT_TRUE(card->doAccessibleAction("press"));
    run("idle 20\nwait 1");
    ASSERT_EQ(state()["visible"], "TransazioniViewController");
    auto* row = seen("list item", "13/11/2026 PAGAMENTO POS DISTRIBUTORE ENI A1, - 91,70 €");
    ASSERT_TRUE(row);
    ASSERT_TRUE(row->doAccessibleAction("activate"));
    run("wait 0.5");
    const auto alert = state()["alert"];
    ASSERT_TRUE(alert.is_object()) << state()["alert"];
    auto* read = seen("alert", alert["title"].get<std::string>());
    ASSERT_TRUE(read);
    EXPECT_NE(read->accessibleDescription().find("PAGAMENTO POS DISTRIBUTORE ENI A1"),
              std::string::npos);
    EXPECT_TRUE(read->accessibleStates().modal);
}
