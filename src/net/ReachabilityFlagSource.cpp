#include "net/ReachabilityFlagSource.h"

#include "net/NetlinkFlagSource.h"

#include <vector>

namespace vestrino {

namespace {
std::mutex& systemMutex() {
    static std::mutex m;
    return m;
}
std::shared_ptr<ReachabilityFlagSource>& systemSource() {
    static std::shared_ptr<ReachabilityFlagSource> s;
    return s;
}
} // namespace

std::size_t ReachabilityFlagSource::addListener(Listener listener) {
    std::lock_guard lock(listenersMutex_);
    const std::size_t id = nextId_++;
    listeners_[id] = std::make_shared<Listener>(std::move(listener));
    return id;
}

void ReachabilityFlagSource::removeListener(std::size_t id) {
    std::lock_guard lock(listenersMutex_);
    listeners_.erase(id);
}

void ReachabilityFlagSource::notifyListeners() {
    std::vector<std::shared_ptr<Listener>> copy;
    {
        std::lock_guard lock(listenersMutex_);
        for (const auto& [id, l] : listeners_) {
            copy.push_back(l);
        }
    }
    for (const auto& l : copy) {
        (*l)();
    }
}

std::shared_ptr<ReachabilityFlagSource> ReachabilityFlagSource::system() {
    std::lock_guard lock(systemMutex());
    if (!systemSource()) {
        systemSource() = std::make_shared<NetlinkFlagSource>();
    }
    return systemSource();
}

void ReachabilityFlagSource::setSystem(std::shared_ptr<ReachabilityFlagSource> source) {
    std::lock_guard lock(systemMutex());
    systemSource() = std::move(source);
}

std::optional<std::uint32_t> FixedFlagSource::flags(const ReachabilityTarget& /*target*/) {
    std::lock_guard lock(mutex_);
    return flags_;
}

void FixedFlagSource::set(std::optional<std::uint32_t> flags) {
    {
        std::lock_guard lock(mutex_);
        flags_ = flags;
    }
    notifyListeners();
}

} // namespace vestrino
