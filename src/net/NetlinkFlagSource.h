#pragma once

#include "core/FileDescriptor.h"
#include "net/ReachabilityFlagSource.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace vestrino {

// Reachability from the kernel's link and route tables over a NETLINK_ROUTE socket. A watcher
// thread listens to the kernel's link and route change messages: it tells the listeners and
// marks the last dump of the tables stale, so flags are read from a dump made since the last
// change (every read dumps when there is no watcher).
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

    std::mutex cacheMutex_;
    std::optional<NetworkSnapshot> cached_;
    std::uint64_t generation_ = 0; // counts changes; a dump begun before one is not kept

    FileDescriptor events_; // subscribed to link and route changes
    FileDescriptor stop_;   // eventfd that ends the watcher
    std::thread watcher_;
};

} // namespace vestrino
