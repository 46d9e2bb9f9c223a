#pragma once

#include "StandinFixture.h"
#include "app/application/AppViewClasses.h"
#include "app/application/VestrinoAppDelegate.h"
#include "app/cashmachines/Capoluoghi.h"
#include "app/info/UIBannerView.h"
#include "app/settings/Preferences.h"
#include "core/DictCache.h"
#include "core/RunLoop.h"
#include "entities/CartaDiPagamento.h"
#include "service/RemoteServiceUtil.h"
#include "store/CardList.h"
#include "ui/Animator.h"
#include "ui/LayoutLoader.h"
#include "ui/UIImage.h"
#include "ui/headless/HeadlessScreen.h"
#include "ui/headless/ScriptRunner.h"
#include "ui/headless/SnapshotJson.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace vestrino::test {

using nlohmann::ordered_json;

// The application launched headless against the stand-in, driven by script lines; `state()`
// is what a snapshot would say.
class AppFixture : public StandinFixture {
protected:
    void launch() {
        const auto resources = std::filesystem::path(VESTRINO_SOURCE_DIR) / "resources";
        ui::UIImage::setResourceFolder(resources / "images");
        ui::LayoutLoader::setLayoutFolder(resources / "layouts");
        Capoluoghi::setDataFolder(resources / "data");
        // Every test starts from the defaults: amounts shown, no town remembered.
        std::filesystem::remove(Preferences::shared().file());
        Preferences::shared().reload();
        registerAppViewClasses();
        ui::Animator::shared().reset();
        clock_ = std::make_shared<VirtualClock>();
        RunLoop::main().setClock(clock_);
        delegate_ = VestrinoAppDelegate::shared();
        window_ = std::make_shared<ui::Window>(windowFrame_);
        // As the program's headless mode: a phone, typing on an on-screen keyboard.
        window_->setOnScreenKeyboard(onScreenKeyboard_);
        delegate_->applicationDidFinishLaunching(window_);
        screen_ = std::make_unique<ui::HeadlessScreen>(window_);
        ui::ScriptRunner::Hooks hooks;
        runner_ = std::make_unique<ui::ScriptRunner>(*screen_, clock_, tempDir() / "app", hooks);
        // As the headless program: the script starts once the launch's banners are in.
        run("idle 30");
    }
    void TearDown() override {
        runner_.reset();
        screen_.reset();
        RunLoop::main().setClock(std::make_shared<RealClock>());
        StandinFixture::TearDown();
    }
    void run(const std::string& lines) {
        std::istringstream in(lines);
        std::string error;
        ASSERT_TRUE(runner_->run(in, error)) << error;
    }
    ordered_json state() {
        auto s = delegate_->describeForSnapshot();
        s["window"] = ui::SnapshotJson::tree(*window_);
        return s;
    }
    // The first node of the tree with the key equal to the value.
    static const ordered_json* find(const ordered_json& node, const char* key,
                                    const ordered_json& value) {
        if (node.contains(key) && node[key] == value) {
            return &node;
        }
        if (!node.is_object() || !node.contains("children")) {
            return nullptr;
        }
        for (const auto& c : node["children"]) { // references into the tree, not a copy
            if (const auto* f = find(c, key, value)) {
                return f;
            }
        }
        return nullptr;
    }
    // Calls `f` on every node of the tree, parents first; `f` returns false to pass over the
    // node's children.
    static void visit(const ordered_json& node, const std::function<bool(const ordered_json&)>& f) {
        if (!f(node) || !node.is_object() || !node.contains("children")) {
            return;
        }
        for (const auto& c : node["children"]) {
            visit(c, f);
        }
    }
    // The middle of the page indicator's k-th dot of n (14 points apart, centred on the screen).
    static double dotX(int k, int n) { return 160 - 7 * n + 14 * (k - 1) + 3.5; }
    // Taps the middle of the button with the title (an alert's button), or of the named view.
    void tapTitled(const std::string& title, const char* key = "title") {
        const auto s = state();
        const auto* b = find(s["window"], key, title);
        ASSERT_TRUE(b) << title;
        const auto& f = (*b)["windowFrame"];
        run("tap " + std::to_string(f[0].get<double>() + f[2].get<double>() / 2) + " " +
            std::to_string(f[1].get<double>() + f[3].get<double>() / 2));
    }
    // The named view of a state (an empty object, and a failure, when there is none).
    static const ordered_json& node(const ordered_json& s, const char* name) {
        const auto* n = find(s["window"], "name", name);
        EXPECT_TRUE(n) << name;
        static const ordered_json none = ordered_json::object();
        return n ? *n : none;
    }
    // The text the named label or field shows now.
    std::string text(const char* name) {
        const auto s = state();
        const auto* n = find(s["window"], "name", name);
        return n && n->contains("text") ? (*n)["text"].get<std::string>() : "<none>";
    }
    // The named views' values, one "name.key" or "name.key.index" path each, joined by "; "
    // (each as `plain` writes it; "<none>" where nothing is): "lastDigit.text scroll.contentSize" →
    // "5670; [320,690]". One line of a test then checks what a person sees of a screen.
    std::string look(std::string_view paths) {
        const auto s = state();
        std::string out;
        bool first = true;
        for (const auto& path : split(paths, ' ')) {
            const auto parts = split(path, '.');
            const ordered_json* v =
                parts.size() >= 2 ? find(s["window"], "name", parts[0]) : nullptr;
            for (std::size_t i = 1; v && i < parts.size(); ++i) {
                if (v->is_array()) {
                    const auto index = static_cast<std::size_t>(std::stoul(parts[i]));
                    v = index < v->size() ? &(*v)[index] : nullptr;
                } else {
                    v = v->contains(parts[i]) ? &(*v)[parts[i]] : nullptr;
                }
            }
            out += (first ? "" : "; ") + (v ? plain(*v) : "<none>");
            first = false;
        }
        return out;
    }
    // A value as a person writes it: texts bare, whole numbers without ".0", lists in brackets.
    static std::string plain(const ordered_json& v) {
        if (v.is_string()) {
            return v.get<std::string>();
        }
        if (v.is_number_float() && v.get<double>() == static_cast<long long>(v.get<double>())) {
            return std::to_string(static_cast<long long>(v.get<double>()));
        }
        if (v.is_array()) {
            std::string out;
            for (const auto& e : v) {
                out += (out.empty() ? "[" : ",") + plain(e);
            }
            return out.empty() ? "[]" : out + "]";
        }
        return v.dump();
    }
    // The alert shown now as "title | message | buttons", or "" when there is none.
    std::string alertShown() {
        const auto s = state();
        if (s["alert"].is_null()) {
            return "";
        }
        std::string buttons;
        for (const auto& b : s["alert"]["buttons"]) {
            buttons += (buttons.empty() ? "" : ", ") + b.get<std::string>();
        }
        return s["alert"]["title"].get<std::string>() + " | " +
               s["alert"]["message"].get<std::string>() + " | " + buttons;
    }
    bool dialogShown() {
        const auto s = state();
        return find(s["window"], "name", "textCVV2") != nullptr;
    }
    std::vector<bool> toolbarSelection() {
        std::vector<bool> out;
        const auto s = state();
        for (int tag : {1, 2, 3}) {
            const auto* container = find(s["window"], "name", "imgvContainer");
            const auto* b = container ? find(*container, "tag", tag) : nullptr;
            if (b) {
                out.push_back((*b)["selected"].get<bool>());
            }
        }
        return out;
    }
    bool backButtonShown() {
        const auto s = state();
        const auto* b = find(s["window"], "tag", -2877);
        return b && !(*b)["hidden"].get<bool>();
    }
    void login(const std::string& user, const std::string& password) {
        run("tap @usernameField\ntype \"" + user + "\"\nkey return\ntype \"" + password +
            "\"\nkey return\nidle 20\nwait 0.6");
    }
    // Launched, past the banner and logged in: the wallet (or the login screen's alert).
    void toWallet(const std::string& user = "mario.rossi",
                  const std::string& password = "lumacard1") {
        launch();
        if (wallNow_) {
            clock_->setWallNow(*wallNow_);
        }
        run("wait 2");
        login(user, password);
        run("wait 0.5");
    }

    // Runs the program headless against the stand-in with a script, its card folder and its
    // snapshot folder; `before` comes first on the command line (variables), `options` after
    // the program's name, `output` last (where its output goes). Returns std::system's status.
    static int runApp(const std::filesystem::path& script, const std::filesystem::path& docs,
                      const std::filesystem::path& out, const std::string& options = "",
                      const std::string& output = "> /dev/null 2>&1",
                      const std::string& before = "") {
        const std::string command =
            before + " " + VESTRINO_APP + " " + options + " --host " + server().hostAndPort() +
            " --cafile '" + server().caFile().string() + "' --reachability 2 --documents '" +
            docs.string() + "' --headless --script '" + script.string() + "' --out '" +
            out.string() + "' " + output;
        return std::system(command.c_str());
    }

    // The anonymous card the stand-in knows (CVV2 739), stored on the device for mario.rossi:
    // in the application's card folder, or in `folder` for a program started by the test.
    void storeAnonymousCard(const std::optional<std::filesystem::path>& folder = std::nullopt) {
        auto card = std::make_shared<CartaDiPagamento>();
        card->setSerial("5375123400001117");
        card->setDataAA("28");
        card->setDataMM("04");
        card->setAnonima(true);
        if (folder) {
            std::filesystem::create_directories(*folder);
            ASSERT_TRUE(CardList::saveCardList({card}, *folder / "mario.rossi_listaCarte"));
        } else {
            ASSERT_TRUE(RemoteServiceUtil::salvaCartePerUtente("mario.rossi", {card}));
        }
    }

    static std::vector<std::string> split(std::string_view text, char separator) {
        std::vector<std::string> out;
        for (std::size_t at = 0; at <= text.size();) {
            const std::size_t end = std::min(text.find(separator, at), text.size());
            if (end > at) {
                out.emplace_back(text.substr(at, end - at));
            }
            at = end + 1;
        }
        return out;
    }

    std::optional<WallTime> wallNow_; // the calendar's day, when a test fixes it
    bool onScreenKeyboard_ = true;    // false: a desktop with its own keyboard
    ui::Rect windowFrame_ = ui::makeRect(0, 0, 320, 480); // a taller phone: more height
    std::shared_ptr<VirtualClock> clock_;
    std::shared_ptr<VestrinoAppDelegate> delegate_;
    std::shared_ptr<ui::Window> window_;
    std::unique_ptr<ui::HeadlessScreen> screen_;
    std::unique_ptr<ui::ScriptRunner> runner_;
};

} // namespace vestrino::test
