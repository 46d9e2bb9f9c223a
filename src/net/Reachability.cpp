#include "net/Reachability.h"

#include "core/NotificationCenter.h"
#include "core/RunLoop.h"

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <utility>

namespace vestrino {

namespace {
ReachabilityTarget targetOf(const sockaddr_in& a) {
    ReachabilityTarget t;
    std::memcpy(t.ipv4.data(), &a.sin_addr.s_addr, 4);
    return t;
}
} // namespace

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
    sockaddr_in zero{};
    zero.sin_family = AF_INET;
    return reachabilityWithAddress(zero);
}

std::shared_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr_in& address) {
    if (address.sin_family != AF_INET) {
        return nullptr;
    }
    auto source = ReachabilityFlagSource::system();
    if (!source) {
        return nullptr;
    }
    return std::make_shared<Reachability>(source, targetOf(address), std::nullopt, false);
}

std::shared_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& hostName) {
    auto source = ReachabilityFlagSource::system();
    if (!source || hostName.empty()) {
        return nullptr;
    }
    return std::make_shared<Reachability>(source, ReachabilityTarget{}, hostName, false);
}

std::shared_ptr<Reachability> Reachability::reachabilityForLocalWiFi() {
    sockaddr_in linkLocal{};
    linkLocal.sin_family = AF_INET;
    linkLocal.sin_addr.s_addr = htonl(0xA9FE0000); // 169.254.0.0
    auto r = reachabilityWithAddress(linkLocal);
    if (!r) {
        return nullptr;
    }
    return std::make_shared<Reachability>(r->source_, r->target_, std::nullopt, true);
}

Reachability::Reachability(std::shared_ptr<ReachabilityFlagSource> source,
                           ReachabilityTarget target, std::optional<std::string> hostName,
                           bool localWiFi)
    : source_(std::move(source)), target_(target), hostName_(std::move(hostName)),
      localWiFi_(localWiFi) {}

Reachability::~Reachability() {
    stopNotifer();
}

std::optional<std::uint32_t> Reachability::readFlags() const {
    ReachabilityTarget target = target_;
    if (hostName_) {
        // A host is as reachable as the first IPv4 address it resolves to.
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (getaddrinfo(hostName_->c_str(), nullptr, &hints, &found) != 0 || !found) {
            return 0;
        }
        target = targetOf(*reinterpret_cast<const sockaddr_in*>(found->ai_addr));
        freeaddrinfo(found);
    }
    return source_->flags(target);
}

bool Reachability::startNotifer() {
    std::lock_guard lock(mutex_);
    if (listener_) {
        return true;
    }
    lastFlags_ = readFlags();
    std::weak_ptr<Reachability> weak = weak_from_this();
    listener_ = source_->addListener([weak] {
        if (auto self = weak.lock()) {
            self->sourceChanged();
        }
    });
    return true;
}

void Reachability::stopNotifer() {
    std::optional<std::size_t> listener;
    {
        std::lock_guard lock(mutex_);
        listener = std::exchange(listener_, std::nullopt);
    }
    if (listener) {
        source_->removeListener(*listener);
    }
}

void Reachability::sourceChanged() {
    const auto flags = readFlags();
    {
        std::lock_guard lock(mutex_);
        if (!listener_ || flags == lastFlags_) {
            return;
        }
        lastFlags_ = flags;
    }
    std::weak_ptr<Reachability> weak = weak_from_this();
    RunLoop::main().post([weak] {
        if (auto self = weak.lock()) {
            NotificationCenter::defaultCenter().postNotification(kReachabilityChangedNotification,
                                                                 self);
        }
    });
}

NetworkStatus Reachability::currentReachabilityStatus() const {
    const auto flags = readFlags();
    if (!flags) {
        return NotReachable;
    }
    return localWiFi_ ? localWiFiStatusForFlags(*flags) : networkStatusForFlags(*flags);
}

bool Reachability::connectionRequired() const {
    const auto flags = readFlags();
    return flags && (*flags & kReachabilityFlagConnectionRequired);
}

NetworkStatus Reachability::networkStatusForFlags(std::uint32_t f) {
    if (!(f & kReachabilityFlagReachable)) {
        return NotReachable;
    }
    NetworkStatus status =
        (f & kReachabilityFlagConnectionRequired) ? NotReachable : ReachableViaWiFi;
    if ((f & (kReachabilityFlagConnectionOnTraffic | kReachabilityFlagConnectionOnDemand)) &&
        !(f & kReachabilityFlagInterventionRequired)) {
        status = ReachableViaWiFi;
    }
    if (f & kReachabilityFlagIsWWAN) {
        status = ReachableViaWWAN;
    }
    return status;
}

NetworkStatus Reachability::localWiFiStatusForFlags(std::uint32_t f) {
    return (f & kReachabilityFlagReachable) && (f & kReachabilityFlagIsDirect) ? ReachableViaWiFi
                                                                               : NotReachable;
}

} // namespace vestrino
