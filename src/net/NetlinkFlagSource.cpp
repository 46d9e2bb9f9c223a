#include "net/NetlinkFlagSource.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

namespace vestrino {

namespace {

FileDescriptor openNetlink(unsigned groups) {
    FileDescriptor fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!fd.valid()) {
        return fd;
    }
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        fd.reset();
    }
    return fd;
}

bool isWwan(const std::string& name) {
    std::ifstream uevent("/sys/class/net/" + name + "/uevent");
    std::string line;
    while (std::getline(uevent, line)) {
        if (line == "DEVTYPE=wwan") {
            return true;
        }
    }
    return false;
}

void readLink(const nlmsghdr* h, NetworkSnapshot& s) {
    const auto* info = static_cast<const ifinfomsg*>(NLMSG_DATA(h));
    NetworkSnapshot::Link link;
    link.index = info->ifi_index;
    link.up = info->ifi_flags & IFF_UP;
    link.running = info->ifi_flags & IFF_RUNNING;
    link.loopback = info->ifi_flags & IFF_LOOPBACK;
    int len = static_cast<int>(IFLA_PAYLOAD(h));
    for (auto* a = IFLA_RTA(info); RTA_OK(a, len); a = RTA_NEXT(a, len)) {
        if (a->rta_type == IFLA_IFNAME) {
            link.name.assign(static_cast<const char*>(RTA_DATA(a)),
                             strnlen(static_cast<const char*>(RTA_DATA(a)), RTA_PAYLOAD(a)));
        }
    }
    link.wwan = !link.name.empty() && isWwan(link.name);
    s.links.push_back(std::move(link));
}

void readRoute(const nlmsghdr* h, NetworkSnapshot& s) {
    const auto* rt = static_cast<const rtmsg*>(NLMSG_DATA(h));
    NetworkSnapshot::Route route;
    route.family = rt->rtm_family;
    route.dstLen = rt->rtm_dst_len;
    route.table = rt->rtm_table;
    route.type = rt->rtm_type;
    int len = static_cast<int>(RTM_PAYLOAD(h));
    for (auto* a = RTM_RTA(rt); RTA_OK(a, len); a = RTA_NEXT(a, len)) {
        switch (a->rta_type) {
        case RTA_TABLE:
            if (RTA_PAYLOAD(a) >= 4) {
                std::memcpy(&route.table, RTA_DATA(a), 4);
            }
            break;
        case RTA_OIF:
            if (RTA_PAYLOAD(a) >= 4) {
                int oif = 0;
                std::memcpy(&oif, RTA_DATA(a), 4);
                route.oifs.push_back(oif);
            }
            break;
        case RTA_GATEWAY:
            route.viaGateway = true;
            break;
        case RTA_DST:
            std::memcpy(route.dst.data(), RTA_DATA(a),
                        std::min<std::size_t>(RTA_PAYLOAD(a), route.dst.size()));
            break;
        case RTA_MULTIPATH: {
            auto* nh = static_cast<const rtnexthop*>(RTA_DATA(a));
            int left = static_cast<int>(RTA_PAYLOAD(a));
            while (left >= static_cast<int>(sizeof(rtnexthop)) &&
                   nh->rtnh_len >= sizeof(rtnexthop) && nh->rtnh_len <= left) {
                route.oifs.push_back(nh->rtnh_ifindex);
                route.viaGateway = true;
                left -= NLMSG_ALIGN(nh->rtnh_len);
                nh = reinterpret_cast<const rtnexthop*>(reinterpret_cast<const char*>(nh) +
                                                        NLMSG_ALIGN(nh->rtnh_len));
            }
            break;
        }
        default:
            break;
        }
    }
    s.routes.push_back(std::move(route));
}

// Asks for a dump of one kind and reads the whole answer into the snapshot.
bool dump(int fd, std::uint16_t type, unsigned char family, std::uint32_t seq, NetworkSnapshot& s) {
    // The header, then an ifinfomsg (link dump) or an rtmsg (route dump): both begin with the
    // address family and are otherwise zero.
    struct {
        nlmsghdr h;
        unsigned char body[sizeof(ifinfomsg) > sizeof(rtmsg) ? sizeof(ifinfomsg) : sizeof(rtmsg)];
    } req{};
    req.h.nlmsg_len = NLMSG_LENGTH(type == RTM_GETLINK ? sizeof(ifinfomsg) : sizeof(rtmsg));
    req.h.nlmsg_type = type;
    req.h.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    req.h.nlmsg_seq = seq;
    req.body[0] = family;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(fd, &req, req.h.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
                 sizeof kernel) < 0) {
        return false;
    }
    alignas(nlmsghdr) char buf[32768];
    for (;;) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        auto len = static_cast<unsigned int>(n);
        for (auto* h = reinterpret_cast<nlmsghdr*>(buf); NLMSG_OK(h, len); h = NLMSG_NEXT(h, len)) {
            if (h->nlmsg_seq != seq) {
                continue;
            }
            if (h->nlmsg_type == NLMSG_DONE) {
                return true;
            }
            if (h->nlmsg_type == NLMSG_ERROR) {
                return false;
            }
            if (h->nlmsg_type == RTM_NEWLINK) {
                readLink(h, s);
            } else if (h->nlmsg_type == RTM_NEWROUTE) {
                readRoute(h, s);
            }
        }
    }
}

} // namespace

std::optional<NetworkSnapshot> NetlinkFlagSource::readSnapshot() {
    FileDescriptor fd = openNetlink(0);
    if (!fd.valid()) {
        return std::nullopt;
    }
    NetworkSnapshot s;
    if (!dump(fd.get(), RTM_GETLINK, AF_UNSPEC, 1, s) ||
        !dump(fd.get(), RTM_GETROUTE, AF_INET, 2, s) ||
        !dump(fd.get(), RTM_GETROUTE, AF_INET6, 3, s)) {
        return std::nullopt;
    }
    return s;
}

NetlinkFlagSource::NetlinkFlagSource()
    : events_(openNetlink(RTMGRP_LINK | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE)),
      stop_(::eventfd(0, EFD_CLOEXEC)) {
    if (events_.valid() && stop_.valid()) {
        watcher_ = std::thread([this] { watch(); });
    }
}

NetlinkFlagSource::~NetlinkFlagSource() {
    if (watcher_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(stop_.get(), &one, sizeof one);
        watcher_.join();
    }
}

std::optional<std::uint32_t> NetlinkFlagSource::flags(const ReachabilityTarget& target) {
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(cacheMutex_);
        if (cached_) {
            return reachabilityFlags(*cached_, target);
        }
        generation = generation_;
    }
    const auto snapshot = readSnapshot();
    if (!snapshot) {
        return std::nullopt;
    }
    if (watcher_.joinable()) {
        std::lock_guard lock(cacheMutex_);
        if (generation == generation_) {
            cached_ = snapshot;
        }
    }
    return reachabilityFlags(*snapshot, target);
}

void NetlinkFlagSource::watch() {
    alignas(nlmsghdr) char buf[32768];
    for (;;) {
        pollfd fds[2] = {{events_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents) {
            return;
        }
        // Drain what arrived (ENOBUFS means messages were lost: a change all the same), then
        // let the listeners read the tables again.
        bool changed = false;
        for (;;) {
            const ssize_t n = ::recv(events_.get(), buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0 || (n < 0 && errno == ENOBUFS)) {
                changed = true;
                continue;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            break;
        }
        if (changed) {
            {
                std::lock_guard lock(cacheMutex_);
                cached_.reset();
                ++generation_;
            }
            notifyListeners();
        }
    }
}

} // namespace vestrino
