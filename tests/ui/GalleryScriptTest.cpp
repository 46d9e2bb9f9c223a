#include "Gallery.h"
#include "core/RunLoop.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"
#include "ui/UiTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace vestrino;
using namespace vestrino::ui;

namespace {

const nlohmann::json* findNamed(const nlohmann::json& node, const std::string& name) {
    if (node.value("name", nlohmann::json()).is_string() && node["name"] == name) {
        return &node;
    }
    for (const auto& child : node["children"]) {
        if (const auto* found = findNamed(child, name)) {
            return found;
        }
    }
    return nullptr;
}

nlohmann::json load(const std::filesystem::path& file) {
    std::ifstream in(file);
    return nlohmann::json::parse(in);
}

} // namespace

TEST(GalleryScript, SnapshotsShowWhatTheScriptDid) {
    test::UiClock uiClock; // resets the main loop
    auto clock = std::make_shared<VirtualClock>();
    RunLoop::main().setClock(clock);
    gallery::Gallery g;
    HeadlessScreen screen(g.window());
    const auto out = std::filesystem::temp_directory_path() / "vestrino-gallery-test";
    std::filesystem::remove_all(out);
    ScriptRunner runner(screen, clock, out);
    std::ifstream script(std::filesystem::path(VESTRINO_SOURCE_DIR) /
                         "examples/ui-gallery/gallery.script");
    std::string error;
    ASSERT_TRUE(runner.run(script, error)) << error;

    struct Expected {
        const char* name;
        double time;
        const char* page;
        const char* status;
        double offset;
        double alpha;
    };
    const Expected expected[] = {
        {"01-start", 0, "Pagina 1 di 8", "", 0, 1},
        {"02-flicked", 0.717, "Pagina 2 di 8", "Fermo a pagina 2", 320, 1},
        {"04-selected-jumped", 2.7, "Pagina 5 di 8", "Spostato a pagina 5", 1280, 1},
        {"05-faded", 3.233, "Pagina 5 di 8", "Sfumatura finita", 1280, 0.3},
    };
    for (const auto& e : expected) {
        const auto doc = load(out / (std::string(e.name) + ".json"));
        EXPECT_NEAR(doc["time"].get<double>(), e.time, 0.001) << e.name;
        const auto& w = doc["window"];
        EXPECT_EQ((*findNamed(w, "pageLabel"))["text"], e.page) << e.name;
        EXPECT_EQ((*findNamed(w, "status"))["text"], e.status) << e.name;
        EXPECT_EQ((*findNamed(w, "carousel"))["contentOffset"][0], e.offset) << e.name;
        EXPECT_EQ((*findNamed(w, "carousel"))["alpha"], e.alpha) << e.name;
        EXPECT_TRUE(std::filesystem::file_size(out / (std::string(e.name) + ".png")) > 1000);
    }
    // The selected button shows its selected title.
    const auto selected = load(out / "04-selected-jumped.json")["window"]["children"][4];
    EXPECT_EQ(selected["title"], "Selezionato");
    EXPECT_EQ(selected["selected"], true);

    // A wrong line names itself.
    std::istringstream bad("wait 0.1\nfly 1 2\n");
    EXPECT_FALSE(runner.run(bad, error));
    EXPECT_EQ(error, "line 2 (\"fly 1 2\"): unknown command \"fly\"");
}
