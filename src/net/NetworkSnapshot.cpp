#include "net/NetworkSnapshot.h"

namespace vestrino {

namespace {

constexpr int kFamilyInet = 2;
constexpr std::uint32_t kTableMain = 254;
constexpr int kTypeUnicast = 1;

bool usable(const NetworkSnapshot::Link* l) {
    return l && l->up && l->running && !l->loopback;
}

bool covers(const NetworkSnapshot::Route& r, const std::array<std::uint8_t, 4>& a) {
    if (r.family != kFamilyInet || r.dstLen < 0 || r.dstLen > 32) {
        return false;
    }
    int bits = r.dstLen;
    for (std::size_t i = 0; i < 4 && bits > 0; ++i, bits -= 8) {
        const std::uint8_t mask = bits >= 8 ? 0xFF : static_cast<std::uint8_t>(0xFF << (8 - bits));
        if ((r.dst[i] & mask) != (a[i] & mask)) {
            return false;
        }
    }
    return true;
}

// The flags a route gives when one of its links can carry traffic.
std::uint32_t flagsThrough(const NetworkSnapshot& s, const NetworkSnapshot::Route& r, bool direct) {
    for (const int oif : r.oifs) {
        const auto* l = s.link(oif);
        if (usable(l)) {
            std::uint32_t f = kReachabilityFlagReachable;
            if (direct && !r.viaGateway) {
                f |= kReachabilityFlagIsDirect;
            }
            if (l->wwan) {
                f |= kReachabilityFlagIsWWAN;
            }
            return f;
        }
    }
    return 0;
}

} // namespace

const NetworkSnapshot::Link* NetworkSnapshot::link(int index) const {
    for (const auto& l : links) {
        if (l.index == index) {
            return &l;
        }
    }
    return nullptr;
}

std::uint32_t reachabilityFlags(const NetworkSnapshot& s, const ReachabilityTarget& target) {
    if (target.isInternet()) {
        for (const auto& r : s.routes) {
            if (r.type == kTypeUnicast && r.dstLen == 0 && r.table == kTableMain) {
                if (const auto f = flagsThrough(s, r, false)) {
                    return f;
                }
            }
        }
        return 0;
    }
    const NetworkSnapshot::Route* best = nullptr;
    for (const auto& r : s.routes) {
        if (r.type == kTypeUnicast && r.table == kTableMain && covers(r, target.ipv4) &&
            (!best || r.dstLen > best->dstLen)) {
            best = &r;
        }
    }
    return best ? flagsThrough(s, *best, true) : 0;
}

} // namespace vestrino
