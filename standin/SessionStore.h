#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace lumacard {

// The service's sessions: made at login, named by a random cookie value, ended by logout or
// when unused for longer than the idle limit.
class SessionStore {
public:
    using Clock = std::chrono::steady_clock;

    std::string open(const std::string& user);
    // The session's user, touching the session; nothing when unknown or idle too long.
    std::optional<std::string> find(const std::string& id);
    void close(const std::string& id);
    void setIdleLimit(std::chrono::milliseconds limit);
    // Ends every session (a test's "the service restarted").
    void expireAll();
    // The sessions open now (the idle ones not yet swept count too).
    std::size_t liveCount();

private:
    struct Session {
        std::string user;
        Clock::time_point lastSeen;
    };
    std::mutex mutex_;
    std::map<std::string, Session> sessions_;
    std::chrono::milliseconds idle_{std::chrono::minutes(10)};
};

} // namespace lumacard
