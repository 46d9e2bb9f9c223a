#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vestrino {

// Reachability flag bits, as the connectivity rules read them.
inline constexpr std::uint32_t kReachabilityFlagReachable = 2;
inline constexpr std::uint32_t kReachabilityFlagConnectionRequired = 4;
inline constexpr std::uint32_t kReachabilityFlagConnectionOnTraffic = 8;
inline constexpr std::uint32_t kReachabilityFlagInterventionRequired = 16;
inline constexpr std::uint32_t kReachabilityFlagConnectionOnDemand = 32;
inline constexpr std::uint32_t kReachabilityFlagIsDirect = 0x20000;
inline constexpr std::uint32_t kReachabilityFlagIsWWAN = 0x40000;

// What a monitor watches: the internet in general (the all-zero IPv4 address), or one IPv4
// address (the link-local network 169.254.0.0 among them).
struct ReachabilityTarget {
    std::array<std::uint8_t, 4> ipv4{}; // all zero: the internet
    bool isInternet() const { return ipv4 == std::array<std::uint8_t, 4>{}; }
};

// The kernel's link and route tables, as far as reachability needs them.
struct NetworkSnapshot {
    struct Link {
        int index = 0;
        std::string name;
        bool up = false;       // IFF_UP
        bool running = false;  // IFF_RUNNING
        bool loopback = false; // IFF_LOOPBACK
        bool wwan = false;     // a mobile data link (DEVTYPE=wwan)
    };
    struct Route {
        int family = 2; // AF_INET or AF_INET6
        std::array<std::uint8_t, 16> dst{};
        int dstLen = 0;
        std::uint32_t table = 254; // RT_TABLE_MAIN
        int type = 1;              // RTN_UNICAST
        std::vector<int> oifs;     // outgoing links (several for a multipath route)
        bool viaGateway = false;
    };
    std::vector<Link> links;
    std::vector<Route> routes;

    const Link* link(int index) const;
};

// The flags of a target in the given tables. The internet is reachable (2) when a default
// route leaves through an up, running link that is not the loopback; an address when its
// most specific route does, direct (0x20000) when that route has no gateway. A mobile data
// link adds 0x40000. Nothing else is ever set.
std::uint32_t reachabilityFlags(const NetworkSnapshot& snapshot, const ReachabilityTarget& target);

} // namespace vestrino
