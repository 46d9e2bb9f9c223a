#pragma once

#include "core/FileDescriptor.h"
#include "net/ReachabilityFlagSource.h"

#include <atomic>
#include <thread>

namespace vestrino {

// Reachability from the kernel's link and route tables over a NETLINK_ROUTE socket. Flags are
// read from a fresh dump of the tables; a watcher thread listens to the kernel's link and route
// change messages and tells the listeners.
class NetlinkFlagSource : public ReachabilityFlagSource {
public:
    NetlinkFlagSource();
    ~NetlinkFlagSource() override;

    std::optional<std::uint32_t> flags(const ReachabilityTarget& target) override;

    // One dump of the links and the IPv4 and IPv6 routes; nothing when the kernel cannot be
    // asked.
    static std::optional<NetworkSnapshot> readSnapshot();

private:
    void watch();

    FileDescriptor events_; // subscribed to link and route changes
    FileDescriptor stop_;   // eventfd that ends the watcher
    std::thread watcher_;
};

} // namespace vestrino
