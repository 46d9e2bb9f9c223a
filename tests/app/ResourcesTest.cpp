#include "StandinFixture.h"
#include "app/application/AppResources.h"
#include "core/ResourceLocator.h"
#include "store/FileUtils.h"
#include "store/WriteGate.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sys/wait.h>
#include <thread>

using namespace vestrino;
namespace fs = std::filesystem;

namespace {

const fs::path kSource = VESTRINO_SOURCE_DIR;

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(ResourceLocator, InstalledBuildFolderAndVariableInThatOrder) {
    const fs::path root = test::StandinFixture::tempDir() / "locator";
    fs::remove_all(root);
    // An installed prefix, a build folder beside a source tree, a bare folder, a broken build.
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/vestrino/standin");
    fs::create_directories(root / "tree/resources");
    fs::create_directories(root / "tree/standin/data");
    write(root / "tree/build/vestrino-source-tree", (root / "tree").string() + "\n");
    fs::create_directories(root / "elsewhere");
    write(root / "stale/vestrino-source-tree", (root / "gone").string() + "\n");
    fs::create_directories(root / "override");

    const ResourceLocator::Place app{"VESTRINO_TEST_RESOURCES", "", "resources"};
    const ResourceLocator::Place standin{"VESTRINO_TEST_RESOURCES", "standin", "standin/data"};
    struct Case {
        const char* name;
        ResourceLocator::Place place;
        fs::path exe;
        std::optional<std::string> variable;
        std::optional<fs::path> found; // nothing: an error
        const char* errorNames;        // what the error must mention
    };
    const Case cases[] = {
        {"installed", app, root / "usr/bin/vestrino", std::nullopt, root / "usr/share/vestrino",
         ""},
        {"installed, the stand-in's data", standin, root / "usr/bin/lumacard-standin", std::nullopt,
         root / "usr/share/vestrino/standin", ""},
        {"a build folder", app, root / "tree/build/vestrino", std::nullopt, root / "tree/resources",
         ""},
        {"a build folder, the stand-in's data", standin, root / "tree/build/lumacard-standin",
         std::nullopt, root / "tree/standin/data", ""},
        {"the variable first", app, root / "usr/bin/vestrino", (root / "override").string(),
         root / "override", ""},
        {"an empty variable counts as unset", app, root / "usr/bin/vestrino", std::string(),
         root / "usr/share/vestrino", ""},
        {"a variable naming no folder", app, root / "usr/bin/vestrino", (root / "nothing").string(),
         std::nullopt, "VESTRINO_TEST_RESOURCES"},
        {"neither installed nor built: never a source tree", app, root / "elsewhere/vestrino",
         std::nullopt, std::nullopt, "share/vestrino"},
        {"a build folder whose tree is gone", app, root / "stale/vestrino", std::nullopt,
         std::nullopt, "gone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv env("VESTRINO_TEST_RESOURCES", c.variable);
        std::string error;
        const auto found = ResourceLocator::locate(c.place, c.exe, error);
        EXPECT_EQ(found, c.found) << error;
        if (!c.found) {
            EXPECT_NE(error.find(c.errorNames), std::string::npos) << error;
        }
    }
    // The application of this build finds this source tree's resources.
    std::string error;
    EXPECT_EQ(ResourceLocator::locate(app, VESTRINO_APP, error), kSource / "resources") << error;
}

TEST(AppResources, TheListNamesEveryPictureAndLayoutTheApplicationUses) {
    // Every picture name in the application's code and layouts, and every layout it loads.
    std::set<std::string> images, layouts;
    const std::regex imageName(R"("(vestrino_[A-Za-z0-9_]+\.png)\")");
    const std::regex layoutName(R"(layoutName\(\) const override \{ return "([A-Za-z0-9]+)\")"
                                R"(|LayoutLoader::load\("([A-Za-z0-9]+)\")");
    for (const auto& folder : {kSource / "src/app", kSource / "resources/layouts"}) {
        for (const auto& e : fs::recursive_directory_iterator(folder)) {
            if (!e.is_regular_file()) {
                continue;
            }
            const std::string text = slurp(e.path());
            for (std::sregex_iterator it(text.begin(), text.end(), imageName), end; it != end;
                 ++it) {
                images.insert((*it)[1]);
            }
            for (std::sregex_iterator it(text.begin(), text.end(), layoutName), end; it != end;
                 ++it) {
                layouts.insert((*it)[1].matched ? (*it)[1] : (*it)[2]);
            }
        }
    }
    EXPECT_EQ(images,
              std::set<std::string>(AppResources::kImages.begin(), AppResources::kImages.end()));
    EXPECT_EQ(layouts,
              std::set<std::string>(AppResources::kLayouts.begin(), AppResources::kLayouts.end()));
    std::string error;
    EXPECT_TRUE(AppResources::verify(kSource / "resources", error)) << error;
}

// The application with a copy of its resources, one of them missing or damaged: it ends at
// once with status 1 and names the file, before any window or script.
TEST(AppResources, AMissingOrDamagedFileEndsTheProgramNamingIt) {
    const fs::path work = test::StandinFixture::tempDir() / "broken-resources";
    struct Case {
        const char* name;
        const char* file;                   // below the copied resources
        std::optional<std::string> content; // nothing: removed
    };
    const Case cases[] = {
        {"a missing layout", "layouts/CarteViewController.json", std::nullopt},
        {"a layout that is no JSON", "layouts/CVV2ModalVC.json", std::string("{\"class\": ")},
        {"a layout with no view", "layouts/MovimentoCell.json", std::string("[1, 2]")},
        {"a missing picture", "images/vestrino_field_320.png", std::nullopt},
        {"a picture that is no picture", "images/vestrino_head_320.png",
         std::string("\x89PNG\r\n\x1a\n cut short", 19)},
        {"an empty picture", "images/vestrino_riga_320.png", std::string()},
        {"a damaged HiDPI picture", "images/vestrino_button_scegli_320@2x.png",
         std::string("not a picture")},
    };
    const fs::path script = work / "never.script";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(work);
        fs::create_directories(work);
        fs::copy(kSource / "resources", work / "resources", fs::copy_options::recursive);
        write(script, "snapshot never\n");
        const fs::path target = work / "resources" / c.file;
        if (c.content) {
            write(target, *c.content);
        } else {
            fs::remove(target);
        }
        const std::string command = "VESTRINO_RESOURCES='" + (work / "resources").string() + "' " +
                                    VESTRINO_APP + " --headless --script '" + script.string() +
                                    "' --out '" + (work / "out").string() +
                                    "' --reachability 2 > '" + (work / "err").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal, not an exit: " << status;
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const std::string err = slurp(work / "err");
        EXPECT_NE(err.find(target.string()), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(work / "out")) << "it ran the script";
    }
    fs::remove_all(work);
}

// A program that quits while a worker saves: the save in progress ends whole, none starts
// after, and no temporary file stays.
TEST(WriteGate, QuittingFinishesTheWriteInProgressAndRefusesNewOnes) {
    const fs::path folder = test::StandinFixture::tempDir() / "write-gate";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "mario.rossi_listaCarte";
    const std::string versions[] = {std::string(4 << 20, 'a'), std::string(3 << 20, 'b')};
    ASSERT_TRUE(FileUtils::writeAtomically(versions[0], file));
    std::atomic<int> written{0}, refused{0};
    std::atomic<bool> started{false};
    std::thread worker([&] {
        // Bounded, so that a gate that never closes fails the test instead of hanging it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        for (int i = 1; refused == 0 && std::chrono::steady_clock::now() < deadline; ++i) {
            started = true;
            (FileUtils::writeAtomically(versions[i % 2], file) ? written : refused)++;
        }
    });
    while (!started || written < 2) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(WriteGate::closeAndDrain(std::chrono::seconds(30)));
    // From here on, nothing writes: the file is one whole version and stays so.
    const std::string after = slurp(file);
    EXPECT_TRUE(after == versions[0] || after == versions[1]) << after.size() << " bytes";
    worker.join();
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(slurp(file), after);
    EXPECT_EQ(WriteGate::inProgress(), 0u);
    for (const auto& e : fs::directory_iterator(folder)) {
        EXPECT_EQ(e.path(), file) << "left over: " << e.path();
    }
    WriteGate::reopen();
    EXPECT_TRUE(FileUtils::writeAtomically("again", file));
    fs::remove_all(folder);
}
