#include "StandinKnobs.h"

namespace lumacard {

void StandinKnobs::setFault(const std::string& path, Fault fault) {
    std::lock_guard lock(mutex_);
    faults_[path] = std::move(fault);
}

std::optional<Fault> StandinKnobs::fault(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto it = faults_.find(path);
    if (it == faults_.end()) {
        it = faults_.find("*");
    }
    return it == faults_.end() ? std::nullopt : std::optional<Fault>(it->second);
}

void StandinKnobs::clearFaults() {
    {
        std::lock_guard lock(mutex_);
        faults_.clear();
        ++faultsCleared_;
    }
    // A reply held back by a delay or a hang goes now.
    wake_.notify_all();
}

void StandinKnobs::record(const std::string& path, SeenRequest request, const std::string& remote) {
    std::lock_guard lock(mutex_);
    auto& seen = seen_[path];
    ++seen.count;
    seen.last.push_back(std::move(request));
    if (seen.last.size() > kKeptRequests) {
        seen.last.pop_front();
    }
    connections_.insert(remote);
}

std::size_t StandinKnobs::requestCount(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto it = seen_.find(path);
    return it == seen_.end() ? 0 : it->second.count;
}

std::optional<SeenRequest> StandinKnobs::lastRequest(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto it = seen_.find(path);
    if (it == seen_.end() || it->second.last.empty()) {
        return std::nullopt;
    }
    return it->second.last.back();
}

std::vector<std::string> StandinKnobs::bodiesSeen(const std::string& path) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    if (const auto it = seen_.find(path); it != seen_.end()) {
        for (const auto& r : it->second.last) {
            out.push_back(r.body);
        }
    }
    return out;
}

std::size_t StandinKnobs::connectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_.size();
}

void StandinKnobs::clearCounts() {
    std::lock_guard lock(mutex_);
    seen_.clear();
    connections_.clear();
}

void StandinKnobs::sleepFor(std::chrono::milliseconds delay) {
    std::unique_lock lock(mutex_);
    const auto cleared = faultsCleared_;
    wake_.wait_for(lock, delay, [&] { return stopping_ || faultsCleared_ != cleared; });
}

void StandinKnobs::wakeSleepers() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
}

} // namespace lumacard
