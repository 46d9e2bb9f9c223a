#include "StandinFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace fs = std::filesystem;
using nlohmann::ordered_json;

namespace {

class AccessibilityTest : public vestrino::test::StandinFixture {};

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
    const std::string command =
        "XDG_CONFIG_HOME='" + (work / "config").string() + "' XDG_DOWNLOAD_DIR='" +
        (work / "downloads").string() + "' " + VESTRINO_APP + " --host " + server().hostAndPort() +
        " --cafile " + server().caFile().string() + " --reachability 2 --documents '" +
        (work / "docs").string() + "' --headless --script '" + VESTRINO_SOURCE_DIR +
        "/scripts/tour.script' --out '" + (work / "out").string() + "' > /dev/null 2>&1";
    fs::create_directories(work / "downloads");
    ASSERT_EQ(std::system(command.c_str()), 0);

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
