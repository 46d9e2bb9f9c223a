#include "SessionStore.h"

#include <openssl/rand.h>

namespace lumacard {

std::string SessionStore::open(const std::string& user) {
    unsigned char bytes[16];
    RAND_bytes(bytes, sizeof bytes);
    static const char* digits = "0123456789abcdef";
    std::string id;
    for (const unsigned char b : bytes) {
        id += digits[b >> 4];
        id += digits[b & 15];
    }
    std::lock_guard lock(mutex_);
    sessions_[id] = {user, Clock::now()};
    return id;
}

std::optional<std::string> SessionStore::find(const std::string& id) {
    std::lock_guard lock(mutex_);
    const auto it = sessions_.find(id);
    if (it == sessions_.end()) {
        return std::nullopt;
    }
    const auto now = Clock::now();
    if (now - it->second.lastSeen > idle_) {
        sessions_.erase(it);
        return std::nullopt;
    }
    it->second.lastSeen = now;
    return it->second.user;
}

void SessionStore::close(const std::string& id) {
    std::lock_guard lock(mutex_);
    sessions_.erase(id);
}

void SessionStore::setIdleLimit(std::chrono::milliseconds limit) {
    std::lock_guard lock(mutex_);
    idle_ = limit;
}

std::size_t SessionStore::liveCount() {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

void SessionStore::expireAll() {
    std::lock_guard lock(mutex_);
    sessions_.clear();
}

} // namespace lumacard
