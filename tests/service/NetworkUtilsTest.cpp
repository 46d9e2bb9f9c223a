#include "service/NetworkUtils.h"
#include "StandinFixture.h"
#include "app/application/VestrinoAppDelegate.h"
#include "core/DictCache.h"
#include "core/NotificationCenter.h"
#include "core/RunLoop.h"
#include "net/Reachability.h"

#include <chrono>
#include <cstdlib>

using namespace vestrino;

namespace {
class NetworkUtilsTest : public test::StandinFixture {};
const std::string kProbe = "/LumaCard/sonda.do";

double timed(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

TEST_F(NetworkUtilsTest, ShortCheckReadsTheMonitorOnly) {
    for (const double t : {0.0, 3.0, 1e9}) {
        EXPECT_TRUE(NetworkUtils::checkInternetConnectionWithTimeout(t));
    }
    setReachabilityFlags(2 | 4);
    EXPECT_FALSE(NetworkUtils::checkInternetConnectionWithTimeout(3.0));
    setReachabilityFlags(2 | 0x40000);
    EXPECT_TRUE(NetworkUtils::checkInternetConnectionWithTimeout(3.0));
    EXPECT_EQ(server().knobs().requestCount(kProbe), 0u);
}

TEST_F(NetworkUtilsTest, FullCheckProbesWithTwiceTheTime) {
    EXPECT_TRUE(NetworkUtils::fullCheckInternetConnectionWithTimeout(1.0));
    // Any reply counts, an empty 404 too.
    server().knobs().setFault(kProbe, {.status = 404, .body = ""});
    EXPECT_TRUE(NetworkUtils::fullCheckInternetConnectionWithTimeout(1.0));
    // A reply after 1.2 s is within twice one second...
    server().knobs().setFault(kProbe, {.delay = std::chrono::milliseconds(1200)});
    EXPECT_TRUE(NetworkUtils::fullCheckInternetConnectionWithTimeout(1.0));
    // ...one after 3 s is not, and the check gives up at 2 s.
    server().knobs().setFault(kProbe, {.delay = std::chrono::seconds(3)});
    const double elapsed =
        timed([] { EXPECT_FALSE(NetworkUtils::fullCheckInternetConnectionWithTimeout(1.0)); });
    EXPECT_GE(elapsed, 1.9);
    EXPECT_LT(elapsed, 2.9);
    // Not reachable: the probe is still sent, the check fails.
    server().knobs().clearFaults();
    setReachabilityFlags(0);
    const auto before = server().knobs().requestCount(kProbe);
    EXPECT_FALSE(NetworkUtils::fullCheckInternetConnectionWithTimeout(1.0));
    EXPECT_EQ(server().knobs().requestCount(kProbe), before + 1);
}

TEST_F(NetworkUtilsTest, ApplicationDelegateState) {
    auto delegate = VestrinoAppDelegate::shared();
    ASSERT_TRUE(delegate);
    DictCache& first = delegate->dictCache();
    first.setObject("x", 1);
    first.removeAllObjects();
    EXPECT_EQ(&delegate->dictCache(), &first); // emptied in place, the same object
    EXPECT_FALSE(delegate->loggedIn());

    // A change notification makes the notifying monitor the delegate's, and nothing else.
    delegate->observeReachabilityChanges();
    auto other = Reachability::reachabilityForInternetConnection();
    ASSERT_NE(other, delegate->hostReach());
    NotificationCenter::defaultCenter().postNotification(kReachabilityChangedNotification, other);
    EXPECT_EQ(delegate->hostReach(), other);
    EXPECT_FALSE(delegate->loggedIn());
    EXPECT_EQ(delegate->dictCache().count(), 0u);

    const auto docs = delegate->applicationDocumentsDirectory();
    EXPECT_TRUE(std::filesystem::is_directory(docs));
}

TEST_F(NetworkUtilsTest, CommandLineProbe) {
    const std::string cli = std::string(VESTRINO_CLI) + " --host " + server().hostAndPort() +
                            " --cafile " + server().caFile().string() + " --reachability ";
    const std::pair<std::string, int> cases[] = {
        {cli + "2 probe 1 >/dev/null", 0},
        {cli + "0 probe 1 >/dev/null", 1},
        {cli + "zwei probe >/dev/null 2>&1", 2},
        {std::string(VESTRINO_CLI) + " --host " + server().hostAndPort() +
             " --reachability 2 probe 1 >/dev/null",
         1}, // the system's CAs do not know it
    };
    for (const auto& [command, code] : cases) {
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), code) << command;
    }
}
