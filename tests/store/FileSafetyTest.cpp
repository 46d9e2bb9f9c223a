// The card files under hostile conditions: a process killed in the middle of saving, writes
// left over by such kills, and the folders made for them.
#include "core/FileDescriptor.h"
#include "core/Paths.h"
#include "store/CardList.h"
#include "store/FileUtils.h"
#include "store/StoreTestSupport.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vestrino;
namespace fs = std::filesystem;

namespace {

ListaCarte thousandCards(char version) {
    ListaCarte list;
    for (int i = 0; i < 1000; ++i) {
        auto c = std::make_shared<CartaDiPagamento>();
        c->setSerial("5375" + std::to_string(100000000000 + i));
        c->setAlias(std::string(1, version) + std::to_string(i));
        c->setDataAA("28");
        c->setDataMM("04");
        c->setAnonima(true);
        list.push_back(c);
    }
    return list;
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace

// A child process saves two versions of a 1,000-card list in turn while this one kills it at
// random moments: after every kill the file is whole, one version or the other, and the next
// save leaves no temporary file behind.
TEST(CardFileSafety, KilledMidSaveTheFileIsOneVersionOrTheOther) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario.rossi_listaCarte";
    const ListaCarte versions[] = {thousandCards('A'), thousandCards('B')};
    const std::string archives[] = {CardList::archiveRootList(versions[0]),
                                    CardList::archiveRootList(versions[1])};
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(CardList::saveCardList(versions[0], file));
    const auto oneSave = std::chrono::steady_clock::now() - before;

    std::mt19937 random(20261207);
    // From at once to about two saves: kills land before, during and after the rename.
    std::uniform_int_distribution<long> delayMicros(
        0, 2 * std::chrono::duration_cast<std::chrono::microseconds>(oneSave).count() + 200);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    // Under AddressSanitizer a fork of the test and a save of a thousand cards take several
    // times as long: fewer kills fit the time, still landing before, during and after renames.
#ifdef __SANITIZE_ADDRESS__
    constexpr int kKills = 120;
#else
    constexpr int kKills = 220;
#endif
    int kills = 0, leftOvers = 0;
    while (kills < kKills && std::chrono::steady_clock::now() < deadline) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i) {
                CardList::saveCardList(versions[i % 2], file);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicros(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ++kills;

        const auto load = CardList::readCardListFile(file);
        ASSERT_EQ(load.state, CardFileLoad::State::Loaded) << "after kill " << kills;
        const auto archive = CardList::archiveRootList(load.cards);
        ASSERT_TRUE(archive == archives[0] || archive == archives[1]) << "after kill " << kills;
        if (test::namesIn(dir.path()).size() > 1) {
            ++leftOvers;
            ASSERT_TRUE(CardList::saveCardList(versions[kills % 2], file));
            EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{file.filename().string()})
                << "after kill " << kills;
        }
    }
    EXPECT_GE(kills, kKills - 20);
    RecordProperty("kills", kills);
    RecordProperty("leftOvers", leftOvers);
    std::cout << kills << " kills, " << leftOvers << " left a temporary file\n";
}

TEST(CardFileSafety, StaleTemporaryFilesGoThoseInUseStay) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario.rossi_listaCarte";
    auto make = [&](const std::string& name) {
        std::ofstream(dir.path() / name) << "vecchie carte";
        return dir.path() / name;
    };
    make(".mario.rossi_listaCarte.a1B2c3");
    make(".carte.plist.Zz9yX8");
    make(".giulia_listaCarte.qwerty");
    const auto held = make(".mario.rossi_listaCarte.inUse1");
    // Not temporary files of a card file: never touched.
    const std::vector<std::string> others = {".mario.rossi_listaCarte.toolong", ".altro.abcdef",
                                             "mario.rossi_listaCarte.unreadable-20261207T0000Z",
                                             ".mario.rossi_listaCarte.abcde"};
    for (const auto& o : others) {
        make(o);
    }
    // A write in progress holds its file.
    FileDescriptor writer(::open(held.c_str(), O_RDONLY));
    ASSERT_EQ(::flock(writer.get(), LOCK_EX), 0);

    ASSERT_TRUE(CardList::saveCardList(thousandCards('A'), file)); // its own left-overs only
    auto names = test::namesIn(dir.path());
    EXPECT_EQ(std::count(names.begin(), names.end(), ".mario.rossi_listaCarte.a1B2c3"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), ".giulia_listaCarte.qwerty"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), ".mario.rossi_listaCarte.inUse1"), 1);

    // At start, every card file's left-overs.
    EXPECT_EQ(FileUtils::removeStaleTemporaryFilesInFolder(dir.path()), 2u);
    names = test::namesIn(dir.path());
    auto expected = others;
    expected.push_back(".mario.rossi_listaCarte.inUse1");
    expected.push_back("mario.rossi_listaCarte");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    writer.reset(); // the writer is gone: now it is a left-over
    EXPECT_EQ(FileUtils::removeStaleTemporaryFiles(file), 1u);
}

TEST(CardFileSafety, FoldersAreMadeForTheirOwnerOnly) {
    test::TempFolder dir;
    const mode_t oldMask = ::umask(022);
    ::chmod(dir.path().c_str(), 0751);
    const fs::path deep = dir.path() / "share" / "vestrino" / "Documents";
    EXPECT_TRUE(createPrivateDirectories(deep));
    EXPECT_EQ(modeOf(dir.path()), 0751u); // there already: left as it was
    for (const auto& p : {deep.parent_path().parent_path(), deep.parent_path(), deep}) {
        EXPECT_EQ(modeOf(p), 0700u) << p;
    }
    EXPECT_TRUE(FileUtils::createDirectoryIfNotExists(dir.path() / "store" / "x"));
    EXPECT_EQ(modeOf(dir.path() / "store"), 0700u);
    ::umask(oldMask);
}
