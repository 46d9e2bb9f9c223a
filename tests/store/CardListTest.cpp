#include "store/CardList.h"
#include "app/application/VestrinoAppDelegate.h"
#include "core/FileDescriptor.h"
#include "store/FileUtils.h"
#include "store/GestoreCarteLocali.h"
#include "store/StoreTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vestrino;
namespace fs = std::filesystem;

namespace {
CartaDiPagamentoPtr card(std::optional<std::string> serial, std::optional<std::string> alias = {}) {
    auto c = std::make_shared<CartaDiPagamento>();
    c->setSerial(std::move(serial));
    c->setAlias(std::move(alias));
    return c;
}

// Runs `work` as an unprivileged user (root ignores folder permissions); its exit code.
int asNobody(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}
} // namespace

TEST(CardList, AddCardKeepsOneCardPerNumber) {
    CardList list;
    list.addCard(card("1", "uno"));
    list.addCard(card("1", "altro")); // same number: not added
    list.addCard(card(std::nullopt));
    list.addCard(card(std::nullopt)); // without number: always added
    list.addCard(card("2"));
    ASSERT_EQ(list.cards().size(), 4u);
    EXPECT_EQ(list.cards()[0]->alias(), "uno");
    const auto copy = list.copy();
    copy->cards()[0]->setAlias("cambiato");
    EXPECT_EQ(list.cards()[0]->alias(), "uno"); // the copy's cards are its own
    EXPECT_EQ(copy->cards().size(), 4u);
}

TEST(CardList, PlainFileRoundTripAndAnEmptyListNeverClearsIt) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "carte.plist";
    CardList list;
    list.addCard(card("5333171012345670", "Spesa"));
    list.addCard(card("5375123400001117"));
    ASSERT_TRUE(list.writeToFile(file));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const auto back = CardList::initWithContentfile(file);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->cards().size(), 2u);
    EXPECT_EQ(back->cards()[0]->alias(), "Spesa");
    EXPECT_EQ(back->cards()[1]->serial(), "5375123400001117");

    const std::string before = test::readWhole(file);
    EXPECT_TRUE(CardList().writeToFile(file));
    EXPECT_EQ(test::readWhole(file), before);

    // No file, an empty file or a damaged one: a new empty list.
    EXPECT_TRUE(CardList::initWithContentfile(dir.path() / "none")->cards().empty());
    FileUtils::writeAtomically("", dir.path() / "empty");
    EXPECT_TRUE(CardList::initWithContentfile(dir.path() / "empty")->cards().empty());
    FileUtils::writeAtomically(before.substr(0, before.size() / 2), dir.path() / "half");
    EXPECT_TRUE(CardList::initWithContentfile(dir.path() / "half")->cards().empty());
    // An archive without "cards": absent.
    FileUtils::writeAtomically(CardList::archiveRootList({}), dir.path() / "other");
    EXPECT_FALSE(CardList::initWithContentfile(dir.path() / "other"));
}

TEST(CardList, EncryptedStoreFiles) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario_listaCarte";
    ASSERT_TRUE(CardList::saveCardList({}, file)); // an empty list is saved too
    EXPECT_EQ(CardList::loadCardListWithFile(file), ListaCarte{});
    ASSERT_TRUE(CardList::saveCardList({card("1", "uno"), card("2")}, file));
    const std::string saved = test::readWhole(file);
    EXPECT_EQ(saved.size() % 16, 0u);
    EXPECT_EQ(saved.find("bplist"), std::string::npos); // encrypted, not plain
    ASSERT_EQ(CardList::loadCardListWithFile(file)->size(), 2u);

    const std::pair<const char*, std::string> damaged[] = {
        {"truncated", saved.substr(0, saved.size() - 16)},
        {"odd length", saved.substr(0, saved.size() - 3)},
        {"a foreign file", "not a card file at all, just some text."},
        {"the plain archive", CardList::archiveRootList({card("1")})},
        {"empty", ""},
    };
    for (const auto& [name, bytes] : damaged) {
        FileUtils::writeAtomically(bytes, file);
        EXPECT_FALSE(CardList::loadCardListWithFile(file)) << name;
    }
    EXPECT_FALSE(CardList::loadCardListWithFile(dir.path() / "missing"));
}

TEST(CardList, AFailedSaveLeavesTheOldFileWhole) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario_listaCarte";
    ASSERT_TRUE(CardList::saveCardList({card("1")}, file));
    const std::string before = test::readWhole(file);
    // The folder refuses new files while the file itself stays writable to the one who saves:
    // a save that wrote the file in place would succeed here and leave half a list on a crash.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(dir.path().c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    ::chmod(dir.path().c_str(), 0555);
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(asNobody([&] {
                  FileDescriptor writable(::open(file.c_str(), O_WRONLY | O_APPEND));
                  return writable.valid() && !CardList::saveCardList({card("2"), card("3")}, file);
              }),
              0);
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(test::readWhole(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(FileUtils, Helpers) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "f";
    const fs::path folder = dir.path() / "a" / "b";
    EXPECT_TRUE(FileUtils::createDirectoryIfNotExists(folder));
    EXPECT_TRUE(FileUtils::createDirectoryIfNotExists(folder));
    EXPECT_TRUE(FileUtils::saveData("uno", file));
    EXPECT_TRUE(FileUtils::saveData("due", file)); // replaces
    EXPECT_EQ(test::readWhole(file), "due");
    EXPECT_FALSE(FileUtils::createDirectoryIfNotExists(file)); // a file stands there
    EXPECT_EQ(test::readWhole(file), "due");
    EXPECT_FALSE(FileUtils::removeFileIfExist(folder)); // a folder is not removed
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(FileUtils::fileExistsAtPath(file));
    EXPECT_TRUE(FileUtils::removeFileIfExist(file));
    EXPECT_FALSE(FileUtils::removeFileIfExist(file));
    EXPECT_FALSE(FileUtils::fileExistsAtPath(file));
    FileUtils::saveData("x", folder / "inside");
    EXPECT_TRUE(FileUtils::removeAllFilesInFolder(dir.path() / "a"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "a"));
    EXPECT_FALSE(fs::exists(folder));
    // saveData over a file that cannot be removed writes nothing.
    FileUtils::saveData("vecchio", file);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(asNobody([&] { return FileUtils::saveData("nuovo", file); }), 1);
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(test::readWhole(file), "vecchio");
}

TEST(GestoreCarteLocali, ReadsAndWritesCartePlistOfTheDocumentsFolder) {
    test::TempFolder dir;
    auto delegate = VestrinoAppDelegate::install();
    delegate->setDocumentsDirectory(dir.path());
    EXPECT_EQ(GestoreCarteLocali::getLocalCardsFilePath(), dir.path() / "carte.plist");
    auto manager = GestoreCarteLocali::initWithFiles();
    ASSERT_TRUE(manager->localHighCards());
    EXPECT_TRUE(manager->localHighCards()->cards().empty());
    manager->saveState(); // empty: nothing written
    EXPECT_FALSE(fs::exists(dir.path() / "carte.plist"));
    manager->localHighCards()->addCard(card("5333171012345670"));
    manager->saveState();
    EXPECT_EQ(GestoreCarteLocali::initWithFiles()->localHighCards()->cards().size(), 1u);
    EXPECT_FALSE(GestoreCarteLocali().writeToFileOverwrite(true)); // no list: nothing
}
