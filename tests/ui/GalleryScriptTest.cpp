#include "Gallery.h"
#include "StandinFixture.h"
#include "core/RunLoop.h"
#include "ui/LayoutLoader.h"
#include "ui/UiTestSupport.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"

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
    LayoutLoader::setLayoutFolder(VESTRINO_GALLERY_LAYOUTS);
    gallery::Gallery g;
    HeadlessScreen screen(g.window());
    const auto out = test::StandinFixture::tempDir() / "snapshots";
    std::filesystem::remove_all(out);
    ScriptRunner::Hooks hooks;
    hooks.describe = [&g] { return g.describe(); };
    ScriptRunner runner(screen, clock, out, hooks);
    std::ifstream script(std::filesystem::path(VESTRINO_SOURCE_DIR) /
                         "examples/ui-gallery/gallery.script");
    std::string error;
    ASSERT_TRUE(runner.run(script, error)) << error;

    auto text = [](const nlohmann::json& doc, const char* name) {
        const auto* n = findNamed(doc["window"], name);
        return n ? (*n)["text"] : nlohmann::json();
    };
    auto doc = load(out / "02-flicked.json");
    EXPECT_NEAR(doc["time"].get<double>(), 0.717, 0.001);
    EXPECT_EQ(text(doc, "pageLabel"), "Pagina 2 di 8");
    EXPECT_EQ(text(doc, "status"), "Fermo a pagina 2");
    EXPECT_EQ((*findNamed(doc["window"], "carousel"))["contentOffset"][0], 320);

    doc = load(out / "03-typed-faded.json");
    EXPECT_EQ(text(doc, "nameField"), "Mario è qui");
    EXPECT_EQ(text(doc, "pinField"), "***"); // "1234", then a backspace; shown masked
    EXPECT_EQ(doc["firstResponder"], "pinField");
    EXPECT_EQ((*findNamed(doc["window"], "carousel"))["alpha"], 0.3);
    EXPECT_EQ((*findNamed(doc["window"], "selectButton"))["selected"], true);

    doc = load(out / "04-alert.json");
    EXPECT_EQ(doc["alert"]["title"], "Attendere");
    EXPECT_EQ(doc["alert"]["buttons"], nlohmann::json({"Annulla", "OK"}));
    EXPECT_EQ(doc["alert"]["activity"], true);

    doc = load(out / "05-table.json");
    EXPECT_EQ(doc["screens"], nlohmann::json({"GalleryViewController", "TableViewController"}));
    EXPECT_EQ(doc["visible"], "TableViewController");
    EXPECT_EQ(doc["alert"], nullptr);
    const auto& table = *findNamed(doc["window"], "table");
    EXPECT_GT(table["contentOffset"][1].get<double>(), 200); // scrolled by the drag
    EXPECT_LE(table["children"].size(), 10u);                // only the rows in sight

    doc = load(out / "06-back-jumped.json");
    EXPECT_EQ(doc["screens"], nlohmann::json({"GalleryViewController"}));
    EXPECT_EQ(text(doc, "pageLabel"), "Pagina 5 di 8");
    EXPECT_EQ(text(doc, "status"), "Spostato a pagina 5");
    EXPECT_TRUE(std::filesystem::file_size(out / "06-back-jumped.png") > 1000);

    // A wrong line names itself.
    std::istringstream bad("wait 0.1\nfly 1 2\n");
    EXPECT_FALSE(runner.run(bad, error));
    EXPECT_EQ(error, "line 2 (\"fly 1 2\"): unknown command \"fly\"");
}
