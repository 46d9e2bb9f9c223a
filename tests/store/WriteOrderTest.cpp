// What a card file's write asks of the system, watched from inside the test program: its own
// definitions of fsync and rename come before the C library's (the executable's symbols win)
// and pass every call on.
#include "store/FileUtils.h"
#include "store/StoreTestSupport.h"

#include <atomic>
#include <csignal>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vestrino;

namespace {

std::atomic<bool> watching{false};
std::mutex callsMutex;
std::vector<std::string> calls;

void note(std::string call) {
    if (watching) {
        std::lock_guard lock(callsMutex);
        calls.push_back(std::move(call));
    }
}

std::string pathOf(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    std::error_code ec;
    return fs::read_symlink(link, ec).filename().string();
}

} // namespace

extern "C" int fsync(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    note("fsync " + pathOf(fd));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    static const auto real =
        reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
    note("rename " + fs::path(from).filename().string() + " " + fs::path(to).filename().string());
    return real(from, to);
}

// The new bytes reach the disk before the name points at them, and the folder's entry after:
// a crash leaves the old file or the new one, never a name on empty blocks.
TEST(CardFileWrite, SyncedBeforeTheRenameAndTheFolderAfter) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario.rossi_listaCarte";
    {
        std::lock_guard lock(callsMutex);
        calls.clear();
    }
    watching = true;
    const bool written = FileUtils::writeAtomically("carte", file);
    watching = false;
    ASSERT_TRUE(written);
    std::lock_guard lock(callsMutex);
    ASSERT_EQ(calls.size(), 3u) << ::testing::PrintToString(calls);
    const std::string temp = calls[0].substr(std::string("fsync ").size());
    EXPECT_TRUE(temp.starts_with(".mario.rossi_listaCarte.")) << calls[0];
    EXPECT_EQ(calls[1], "rename " + temp + " mario.rossi_listaCarte");
    EXPECT_EQ(calls[2], "fsync " + dir.path().filename().string());
}

// A write that fails after its temporary file was made leaves nothing behind: not when the
// name is taken by a folder (the rename fails), not when the bytes cannot all be written (a
// file size limit, in a child process).
TEST(CardFileWrite, AFailedWriteLeavesNoTemporaryFile) {
    test::TempFolder dir;
    const fs::path file = dir.path() / "mario.rossi_listaCarte";
    fs::create_directories(file / "dentro");
    EXPECT_FALSE(FileUtils::writeAtomically("carte", file));
    EXPECT_EQ(test::namesIn(dir.path()), std::vector<std::string>{"mario.rossi_listaCarte"});
    fs::remove_all(file);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::_exit(FileUtils::writeAtomically(std::string(64 * 1024, 'x'), file) ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3); // the write said it failed
    EXPECT_TRUE(test::namesIn(dir.path()).empty())
        << ::testing::PrintToString(test::namesIn(dir.path()));
}
