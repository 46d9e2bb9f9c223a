#pragma once

#include "net/NetworkSnapshot.h"
#include "net/ReachabilityFlagSource.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <string>

namespace vestrino {

enum NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

inline constexpr const char* kReachabilityChangedNotification =
    "kNetworkReachabilityChangedNotification";

// A monitor of the network's reachability for one target. Once started, every change of its
// flags is posted on the main run loop as "kNetworkReachabilityChangedNotification" with the
// monitor as object.
class Reachability : public std::enable_shared_from_this<Reachability> {
public:
    // The internet in general: the all-zero IPv4 address. The monitor the application uses.
    static std::shared_ptr<Reachability> reachabilityForInternetConnection();
    static std::shared_ptr<Reachability> reachabilityWithAddress(const sockaddr_in& address);
    static std::shared_ptr<Reachability> reachabilityWithHostName(const std::string& hostName);
    // The link-local network 169.254.0.0, read with the local-network rule.
    static std::shared_ptr<Reachability> reachabilityForLocalWiFi();

    Reachability(std::shared_ptr<ReachabilityFlagSource> source, ReachabilityTarget target,
                 std::optional<std::string> hostName, bool localWiFi);
    ~Reachability();
    Reachability(const Reachability&) = delete;
    Reachability& operator=(const Reachability&) = delete;

    bool startNotifer();
    void stopNotifer();

    NetworkStatus currentReachabilityStatus() const;
    bool connectionRequired() const;

    static NetworkStatus networkStatusForFlags(std::uint32_t flags);
    static NetworkStatus localWiFiStatusForFlags(std::uint32_t flags);

    bool localWiFiRef() const { return localWiFi_; }

private:
    std::optional<std::uint32_t> readFlags() const;
    void sourceChanged();

    std::shared_ptr<ReachabilityFlagSource> source_;
    ReachabilityTarget target_;
    std::optional<std::string> hostName_;
    bool localWiFi_;
    std::mutex mutex_;
    std::optional<std::size_t> listener_;
    std::optional<std::uint32_t> lastFlags_;
};

} // namespace vestrino
