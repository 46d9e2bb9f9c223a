#include "net/Reachability.h"
#include "core/NotificationCenter.h"
#include "core/RunLoop.h"
#include "net/NetlinkFlagSource.h"
#include "net/NetworkSnapshot.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vestrino;

TEST(Reachability, StatusRules) {
    const std::pair<std::uint32_t, NetworkStatus> general[] = {
        {2, ReachableViaWiFi},
        {2 | 4, NotReachable},
        {2 | 4 | 8, ReachableViaWiFi},
        {2 | 4 | 32, ReachableViaWiFi},
        {2 | 4 | 8 | 16, NotReachable},
        {2 | 0x40000, ReachableViaWWAN},
        {2 | 4 | 0x40000, ReachableViaWWAN},
        {0x40000, NotReachable},
        {0, NotReachable},
        {4 | 8, NotReachable},
    };
    for (const auto& [flags, status] : general) {
        EXPECT_EQ(Reachability::networkStatusForFlags(flags), status) << std::hex << flags;
    }
    const std::pair<std::uint32_t, NetworkStatus> local[] = {
        {2 | 0x20000, ReachableViaWiFi},
        {0x20000, NotReachable},
        {2, NotReachable},
        {2 | 0x20000 | 0x40000, ReachableViaWiFi},
    };
    for (const auto& [flags, status] : local) {
        EXPECT_EQ(Reachability::localWiFiStatusForFlags(flags), status) << std::hex << flags;
    }
}

TEST(Reachability, FlagsFromLinkAndRouteTables) {
    using Link = NetworkSnapshot::Link;
    using Route = NetworkSnapshot::Route;
    const Link lo{1, "lo", true, true, true, false};
    const Link eth{2, "eth0", true, true, false, false};
    const Link ethDown{2, "eth0", true, false, false, false};
    const Link wwan{3, "wwan0", true, true, false, true};
    Route defaultVia = {.oifs = {2}, .viaGateway = true};
    Route defaultWwan = {.oifs = {3}, .viaGateway = true};
    Route lan = {.dst = {192, 168, 1, 0}, .dstLen = 24, .oifs = {2}};
    Route linkLocal = {.dst = {169, 254, 0, 0}, .dstLen = 16, .oifs = {2}};
    Route defaultOtherTable = {.table = 100, .oifs = {2}, .viaGateway = true};
    Route defaultLo = {.oifs = {1}};
    Route defaultV6 = {.family = 10, .oifs = {2}, .viaGateway = true};

    const ReachabilityTarget internet{};
    const ReachabilityTarget lanHost{{192, 168, 1, 20}};
    const ReachabilityTarget farHost{{8, 8, 8, 8}};
    const ReachabilityTarget linkLocalNet{{169, 254, 0, 0}};
    struct Case {
        const char* name;
        NetworkSnapshot snapshot;
        ReachabilityTarget target;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"default route through an up link", {{lo, eth}, {defaultVia}}, internet, 2},
        {"default route through a link that is not running",
         {{lo, ethDown}, {defaultVia}},
         internet,
         0},
        {"no default route", {{lo, eth}, {lan}}, internet, 0},
        {"default route through the loopback", {{lo}, {defaultLo}}, internet, 0},
        {"default route in another table", {{lo, eth}, {defaultOtherTable}}, internet, 0},
        {"IPv6 default route", {{lo, eth}, {defaultV6}}, internet, 2},
        {"mobile data link", {{lo, wwan}, {defaultWwan}}, internet, 2 | 0x40000},
        {"route to a link that is gone", {{lo}, {defaultVia}}, internet, 0},
        {"directly attached network", {{lo, eth}, {defaultVia, lan}}, lanHost, 2 | 0x20000},
        {"through the gateway", {{lo, eth}, {defaultVia, lan}}, farHost, 2},
        {"link-local network", {{lo, eth}, {linkLocal}}, linkLocalNet, 2 | 0x20000},
        {"nothing at all", {}, internet, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reachabilityFlags(c.snapshot, c.target), c.flags) << c.name;
    }
}

TEST(Reachability, KernelTablesOfThisMachineAndOfAnEmptyNetworkNamespace) {
    const auto here = NetlinkFlagSource::readSnapshot();
    ASSERT_TRUE(here);
    bool sawLoopback = false;
    for (const auto& l : here->links) {
        sawLoopback = sawLoopback || l.loopback;
    }
    EXPECT_TRUE(sawLoopback);

    if (::geteuid() != 0) {
        GTEST_SKIP() << "a network namespace needs root";
    }
    // A child process in a new network namespace: only a loopback link, no route out.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::unshare(CLONE_NEWNET) != 0) {
            ::_exit(77);
        }
        const auto snapshot = NetlinkFlagSource::readSnapshot();
        if (!snapshot) {
            ::_exit(2);
        }
        NetlinkFlagSource source;
        const auto flags = source.flags(ReachabilityTarget{});
        ::_exit(flags && *flags == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "this machine does not allow a new network namespace";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(Reachability, ChangesArePostedOnTheMainLoopOnlyWhenTheFlagsChange) {
    RunLoop::main().adoptCurrentThread();
    RunLoop::main().reset();
    auto source = std::make_shared<FixedFlagSource>(2);
    auto monitor =
        std::make_shared<Reachability>(source, ReachabilityTarget{}, std::nullopt, false);
    std::vector<std::shared_ptr<void>> seen;
    auto observation = NotificationCenter::defaultCenter().addObserver(
        kReachabilityChangedNotification, [&](const Notification& n) { seen.push_back(n.object); });
    ASSERT_TRUE(monitor->startNotifer());
    EXPECT_EQ(monitor->currentReachabilityStatus(), ReachableViaWiFi);

    // Changes reported from another thread arrive on the main loop.
    std::thread([&] {
        source->set(2); // same flags: nothing
        source->set(0); // a change
        source->set(2 | 0x40000);
    }).join();
    EXPECT_TRUE(seen.empty());
    RunLoop::main().runOnce();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], monitor);
    EXPECT_EQ(monitor->currentReachabilityStatus(), ReachableViaWWAN);

    monitor->stopNotifer();
    source->set(0);
    RunLoop::main().runOnce();
    EXPECT_EQ(seen.size(), 2u);
    source->set(std::nullopt); // unreadable flags: not reachable
    EXPECT_EQ(monitor->currentReachabilityStatus(), NotReachable);
    EXPECT_FALSE(monitor->connectionRequired());
}
