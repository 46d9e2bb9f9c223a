#include "ui/atspi/AccessibleObjects.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/Window.h"
#include "ui/sdl/AssistiveTechnologyLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vestrino::ui;
using vestrino::ui::atspi::AccessibleObjects;

namespace {

std::shared_ptr<Button> button(const std::string& title) {
    auto b = std::make_shared<Button>(makeRect(0, 0, 100, 40));
    b->setTitle(title, ControlState::Normal);
    return b;
}

} // namespace

// What assistive technology sees of a window: containers that only lay out are passed over
// (their children take their place, in order), hidden and transparent views are left out with
// all they hold, and a parent is the nearest view seen above.
TEST(AccessibleObjects, ContainersArePassedOverAndHiddenViewsLeftOut) {
    auto window = std::make_shared<Window>();
    auto form = std::make_shared<View>(makeRect(0, 0, 320, 200)); // layout only
    auto caption = std::make_shared<Label>(makeRect(0, 0, 100, 20));
    caption->setText("Nome utente");
    auto accedi = button("Accedi");
    auto hidden = button("Nascosto");
    hidden->setHidden(true);
    auto faded = std::make_shared<View>(makeRect(0, 0, 10, 10));
    faded->setAlpha(0);
    faded->addSubview(button("Dentro un trasparente"));
    auto esci = button("Esci");
    form->addSubview(caption);
    form->addSubview(hidden);
    form->addSubview(accedi);
    window->addSubview(form);
    window->addSubview(faded);
    window->addSubview(esci);

    AccessibleObjects objects(window);
    EXPECT_EQ(objects.children(*window),
              (std::vector<View*>{caption.get(), accedi.get(), esci.get()}));
    EXPECT_EQ(objects.parent(*accedi), window.get());
    EXPECT_EQ(objects.parent(*window), nullptr); // the application's root is above
    EXPECT_EQ(objects.indexInParent(*accedi), 1);
    EXPECT_EQ(objects.indexInParent(*hidden), -1);
    EXPECT_TRUE(objects.isSeen(*accedi));
    EXPECT_FALSE(objects.isSeen(*hidden));
    EXPECT_FALSE(objects.isSeen(*faded->subviews()[0]));
    EXPECT_FALSE(objects.isSeen(*form));
}

// A path names one view for its life: asked again it is the same, it finds that view, and once
// the view is gone the path finds nothing, before and after the gone paths are pruned (a call a
// screen reader makes on a view of a screen that has gone never reaches freed memory or another
// view).
TEST(AccessibleObjects, APathNamesOneViewForItsLife) {
    auto window = std::make_shared<Window>();
    AccessibleObjects objects(window);
    std::vector<std::string> gonePaths;
    for (int round = 0; round < 20; ++round) {
        auto b = button("Accedi");
        window->addSubview(b);
        const std::string path = objects.pathOf(*b);
        ASSERT_TRUE(path.starts_with(AccessibleObjects::kPathPrefix)) << path;
        EXPECT_EQ(objects.pathOf(*b), path);
        EXPECT_EQ(objects.find(path).view.get(), b.get());
        for (const auto& gone : gonePaths) {
            ASSERT_NE(gone, path) << "a new view took a gone view's path";
            EXPECT_FALSE(objects.find(gone)) << gone;
        }
        b->removeFromSuperview();
        b.reset();
        EXPECT_FALSE(objects.find(path)) << path;
        gonePaths.push_back(path);
        if (round % 5 == 4) {
            objects.prune();
        }
    }
    EXPECT_TRUE(objects.find(AccessibleObjects::kRootPath).root);
    for (const char* odd : {"/org/a11y/atspi/accessible/", "/org/a11y/atspi/accessible/12x",
                            "/org/a11y/atspi/accessible/-1", "/elsewhere/1",
                            "/org/a11y/atspi/accessible/99999999999999999999999"}) {
        EXPECT_FALSE(objects.find(odd)) << odd;
    }
}

// The assistive-technology module is found where a build and a package put it, and nowhere
// else: beside the program, or in <prefix>/lib/vestrino/ of an installed program's <prefix>/bin.
TEST(AssistiveTechnologyLoader, TheModuleBesideTheProgramOrInItsPrefix) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("vestrino-module-" + std::to_string(getpid()));
    struct Case {
        const char* name;
        const char* program;  // relative to root
        const char* module;   // where the module file is made, or nullptr
        const char* expected; // what is found, or nullptr
    };
    const Case cases[] = {
        {"a build folder", "build/vestrino", "build/vestrino-atspi.so", "build/vestrino-atspi.so"},
        {"installed", "usr/bin/vestrino", "usr/lib/vestrino/vestrino-atspi.so",
         "usr/lib/vestrino/vestrino-atspi.so"},
        {"not there", "opt/bin/vestrino", nullptr, nullptr},
        {"a folder by that name", "srv/bin/vestrino", "srv/bin/vestrino-atspi.so/", nullptr},
        {"elsewhere in the prefix", "home/bin/vestrino", "home/lib/vestrino-atspi.so", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.module) {
            const std::string m = c.module;
            if (m.ends_with('/')) {
                fs::create_directories(root / m);
            } else {
                fs::create_directories((root / m).parent_path());
                std::ofstream(root / m) << "module";
            }
        }
        const auto found = AssistiveTechnologyLoader::modulePath(root / c.program);
        if (c.expected) {
            ASSERT_TRUE(found);
            EXPECT_EQ(*found, root / c.expected);
        } else {
            EXPECT_FALSE(found) << *found;
        }
    }
    fs::remove_all(root);
}

// The module is opened only where a bus may be: a session bus (not the "disabled:" the program
// sets when it starts without one) or an accessibility bus named outright.
TEST(AssistiveTechnologyLoader, OnlyWhereABusMayBe) {
    struct Case {
        const char* session; // DBUS_SESSION_BUS_ADDRESS, nullptr: unset
        const char* atspi;   // AT_SPI_BUS_ADDRESS, nullptr: unset
        bool expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, false},
        {"", "", false},
        {"disabled:", nullptr, false},
        {"unix:path=/run/user/1000/bus", nullptr, true},
        {"disabled:", "unix:path=/tmp/at-spi", true},
    };
    const auto keep = [](const char* name) {
        const char* v = std::getenv(name);
        return v ? std::optional<std::string>(v) : std::nullopt;
    };
    const auto session = keep("DBUS_SESSION_BUS_ADDRESS");
    const auto atspi = keep("AT_SPI_BUS_ADDRESS");
    const auto set = [](const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    };
    for (const auto& c : cases) {
        set("DBUS_SESSION_BUS_ADDRESS",
            c.session ? std::optional<std::string>(c.session) : std::nullopt);
        set("AT_SPI_BUS_ADDRESS", c.atspi ? std::optional<std::string>(c.atspi) : std::nullopt);
        EXPECT_EQ(AssistiveTechnologyLoader::busMayExist(), c.expected)
            << (c.session ? c.session : "(unset)") << " / " << (c.atspi ? c.atspi : "(unset)");
    }
    set("DBUS_SESSION_BUS_ADDRESS", session);
    set("AT_SPI_BUS_ADDRESS", atspi);
}
